#pragma once

#include <QByteArray>
#include <QFile>
#include <QString>

#include <algorithm>
#include <cstring>

// Where the bytes of an answer come from. Each is read piece by piece as the
// socket drains, so no large body is ever held in memory.
namespace reelhound {

// The repeating pattern of generated files, from offset on.
void copyPattern(qint64 offset, char* into, qint64 length);

class BodySource {
public:
    virtual ~BodySource() = default;
    virtual qint64 size() const = 0;
    // 0 at the end, -1 on a read error.
    virtual qint64 read(char* into, qint64 maximum) = 0;
    // Moves the next read to offset, for an answer to a range.
    virtual bool seek(qint64 offset) = 0;
};

// A body held or computed in this process: each piece is filled from its offset.
class ComputedBody : public BodySource {
public:
    qint64 read(char* into, qint64 maximum) final {
        const qint64 length = std::max<qint64>(0, std::min(maximum, size() - position_));
        fill(position_, into, length);
        position_ += length;
        return length;
    }
    bool seek(qint64 offset) final {
        position_ = offset;
        return true;
    }

protected:
    virtual void fill(qint64 offset, char* into, qint64 length) const = 0;

private:
    qint64 position_ = 0;
};

class MemoryBody final : public ComputedBody {
public:
    explicit MemoryBody(QByteArray bytes) : bytes_(std::move(bytes)) {}
    qint64 size() const override { return bytes_.size(); }

private:
    void fill(qint64 offset, char* into, qint64 length) const override {
        std::memcpy(into, bytes_.constData() + offset, static_cast<std::size_t>(length));
    }

    QByteArray bytes_;
};

class FileBody final : public BodySource {
public:
    explicit FileBody(const QString& path) : file_(path) {}
    bool open() { return file_.open(QIODevice::ReadOnly); }
    qint64 size() const override { return file_.size(); }
    qint64 read(char* into, qint64 maximum) override { return file_.read(into, maximum); }
    bool seek(qint64 offset) override { return file_.seek(offset); }

private:
    QFile file_;
};

// A text page of exactly size bytes: head, then filler repeated (and cut) to fit.
class PaddedTextBody final : public ComputedBody {
public:
    PaddedTextBody(QByteArray head, QByteArray filler, qint64 size)
        : head_(std::move(head)), filler_(std::move(filler)), size_(size) {}
    qint64 size() const override { return size_; }

private:
    void fill(qint64 offset, char* into, qint64 length) const override {
        for (qint64 done = 0; done < length;) {
            const qint64 position = offset + done;
            const bool inHead = position < head_.size();
            const QByteArray& source = inHead ? head_ : filler_;
            const qint64 from = inHead ? position : (position - head_.size()) % filler_.size();
            const qint64 piece = std::min(length - done, source.size() - from);
            std::memcpy(into + done, source.constData() + from, static_cast<std::size_t>(piece));
            done += piece;
        }
    }

    QByteArray head_;
    QByteArray filler_;
    qint64 size_;
};

// size bytes of the pattern, from patternOffset on.
class PatternBody final : public ComputedBody {
public:
    explicit PatternBody(qint64 size, qint64 patternOffset = 0)
        : size_(size), patternOffset_(patternOffset) {}
    qint64 size() const override { return size_; }

private:
    void fill(qint64 offset, char* into, qint64 length) const override {
        copyPattern(patternOffset_ + offset, into, length);
    }

    qint64 size_;
    qint64 patternOffset_;
};

} // namespace reelhound
