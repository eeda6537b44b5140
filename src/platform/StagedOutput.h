#pragma once

#include "platform/FileDescriptor.h"

#include <QByteArray>
#include <QString>

namespace reelhound {

// A file that another program writes under its final name, but in a private
// folder of its own beside its final place; it takes that place only once it
// is known to be whole.
//
// The private folder is hidden (".reelhound-XXXXXX"), made afresh for each
// file with mkdtemp (so nobody can plant anything in it) and on the same file
// system as the final place (so the move is one rename). The file keeps its
// final name, extension included, so a program that picks its format by the
// extension picks the same one. Until commit() nothing at the final path is
// touched; discard(), or destruction, removes the folder and what is in it.
//
// A process that dies (SIGKILL, a crash, a power cut) cannot remove its
// folder, so each one holds a marker naming it as ours, locked while its
// conversion runs; removeAbandoned() clears those whose marker nobody holds.
class StagedOutput {
public:
    StagedOutput() = default;
    StagedOutput(const StagedOutput&) = delete;
    StagedOutput& operator=(const StagedOutput&) = delete;
    ~StagedOutput() { discard(); }

    // Makes the private folder beside finalPath; false (see errorString) when
    // that folder cannot be written to.
    bool prepare(const QString& finalPath);
    // Where the program is to write: the final name inside the private folder.
    QString stagedPath() const { return stagedPath_; }

    // Syncs the file, moves it over the final path (a link there is replaced,
    // not followed), syncs the folder and removes the private folder. False
    // (see errorString) when the file is not there or could not be moved;
    // the final path then holds what it held before.
    bool commit();
    // Removes the private folder with whatever the program left in it.
    void discard();

    // What went wrong, in plain words.
    QString errorString() const { return error_; }

    // Removes the private folders in folder that no running conversion holds,
    // of this process or another. Returns how many are left (held ones).
    static int removeAbandoned(const QString& folder);

private:
    bool failWith(int code);

    QByteArray finalPath_;
    QByteArray folder_;     // empty when there is none
    FileDescriptor marker_; // holds the folder's lock
    QString stagedPath_;
    QString error_;
};

} // namespace reelhound
