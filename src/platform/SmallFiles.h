#pragma once

#include <QByteArray>

#include <cstddef>
#include <cstdint>
#include <optional>

// Reading and writing the application's own small files: records, indexes.
namespace reelhound {

// Reads what is left of fd, at most limit bytes; nothing when there is more
// or the read fails.
std::optional<QByteArray> readSmallFile(int fd, qsizetype limit);
// Reads fd up to limit bytes; what lies beyond is not read (no error).
std::optional<QByteArray> readFileHead(int fd, qsizetype limit);
// Writes all of bytes, going on after interruptions; errno says why on false.
bool writeAll(int fd, const char* data, std::size_t length);
// The same at offset, leaving the descriptor's position alone, so that
// several writers can share one descriptor.
bool writeAllAt(int fd, const char* data, std::size_t length, std::int64_t offset);
inline bool writeAll(int fd, const QByteArray& bytes) {
    return writeAll(fd, bytes.constData(), static_cast<std::size_t>(bytes.size()));
}
// Writes bytes under a fresh random name beside target, syncs them (unless
// told that a power cut may lose them) and renames them over target: readers
// see the old or the new text, never a mix, and a link planted at target is
// replaced, never followed.
enum class Durability { Synced, MayBeLost };
bool replaceSmallFile(const QByteArray& target, const QByteArray& bytes,
                      Durability durability = Durability::Synced);

} // namespace reelhound
