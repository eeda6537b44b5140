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

class MemoryBody final : public BodySource {
public:
    explicit MemoryBody(QByteArray bytes) : bytes_(std::move(bytes)) {}
    qint64 size() const override { return bytes_.size(); }
    qint64 read(char* into, qint64 maximum) override {
        const qint64 length = std::min(maximum, bytes_.size() - position_);
        std::memcpy(into, bytes_.constData() + position_, static_cast<std::size_t>(length));
        position_ += length;
        return length;
    }
    bool seek(qint64 offset) override {
        position_ = offset;
        return true;
    }

private:
    QByteArray bytes_;
    qint64 position_ = 0;
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
class PaddedTextBody final : public BodySource {
public:
    PaddedTextBody(QByteArray head, QByteArray filler, qint64 size)
        : head_(std::move(head)), filler_(std::move(filler)), size_(size) {}
    qint64 size() const override { return size_; }
    qint64 read(char* into, qint64 maximum) override {
        const qint64 length = std::min(maximum, size_ - position_);
        for (qint64 done = 0; done < length;) {
            const bool inHead = position_ < head_.size();
            const QByteArray& source = inHead ? head_ : filler_;
            const qint64 offset = inHead ? position_ : (position_ - head_.size()) % filler_.size();
            const qint64 piece = std::min(length - done, source.size() - offset);
            std::memcpy(into + done, source.constData() + offset, static_cast<std::size_t>(piece));
            done += piece;
            position_ += piece;
        }
        return length;
    }
    bool seek(qint64 offset) override {
        position_ = offset;
        return true;
    }

private:
    QByteArray head_;
    QByteArray filler_;
    qint64 size_;
    qint64 position_ = 0;
};

// size bytes of the pattern, from patternOffset on.
class PatternBody final : public BodySource {
public:
    explicit PatternBody(qint64 size, qint64 patternOffset = 0)
        : size_(size), patternOffset_(patternOffset) {}
    qint64 size() const override { return size_; }
    qint64 read(char* into, qint64 maximum) override {
        const qint64 length = std::min(maximum, size_ - position_);
        copyPattern(patternOffset_ + position_, into, length);
        position_ += length;
        return length;
    }
    bool seek(qint64 offset) override {
        position_ = offset;
        return true;
    }

private:
    qint64 size_;
    qint64 patternOffset_;
    qint64 position_ = 0;
};

} // namespace reelhound
