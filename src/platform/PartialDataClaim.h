#pragma once

#include "core/PartialRecord.h"
#include "platform/FileDescriptor.h"

#include <QString>

#include <cstdint>
#include <memory>
#include <optional>

namespace reelhound {

// The right to look at, change and remove the kept data of one destination
// (PartialData.h). One transfer at a time holds it, across every process of
// the user: it is an exclusive lock (flock) on the data file itself, taken
// before anything is measured, truncated or removed, and held for the
// transfer's whole life. Anything else found at the data's name is left as
// it is, except what cannot be anybody's data (a link, a pipe of ours).
class PartialDataClaim {
public:
    enum class Outcome {
        Claimed,
        Busy,    // another transfer holds it
        NotOurs, // something there that this application did not write
        Missing, // nothing there, and nothing was to be made
        Failed,  // the folder refused (errno says why)
    };
    enum class Creation { MakeEmpty, OnlyExisting };

    struct Result {
        Outcome outcome = Outcome::Failed;
        std::unique_ptr<PartialDataClaim> claim; // with Claimed
        int error = 0;                           // with Failed
    };

    // Claims the kept data of destination, making an empty data file when
    // there is none and creation says so. Never waits for another holder.
    static Result take(const QString& destination, Creation creation = Creation::MakeEmpty);

    PartialDataClaim(const PartialDataClaim&) = delete;
    PartialDataClaim& operator=(const PartialDataClaim&) = delete;
    // Gives the claim up; data of no bytes is worth nothing and goes with it.
    ~PartialDataClaim();

    const QString& destination() const { return destination_; }
    // The locked data file, open for reading and writing.
    int descriptor() const { return fd_.get(); }
    std::int64_t size() const;
    // The record beside the data, when it is a whole one of ours.
    std::optional<PartialRecord> record() const;
    // Empties the data and removes its record: what was kept does not fit.
    bool clear();
    // Removes the data and its record while the claim is held.
    void remove();

private:
    PartialDataClaim(QString destination, FileDescriptor fd)
        : destination_(std::move(destination)), fd_(std::move(fd)) {}
    // Opens and locks the data file; nothing, with the outcome in `ended`,
    // when this try ends the claim, and nothing else to try again.
    static std::unique_ptr<PartialDataClaim> tryToTake(const QString& destination, int createFlag,
                                                       std::optional<Result>& ended);
    // Whether the data's name still leads to the locked file.
    bool nameLeadsHere() const;

    QString destination_;
    FileDescriptor fd_;
};

// Says, for a person, that another download holds destination's kept data.
QString describeDestinationInUse(const QString& destination);

} // namespace reelhound
