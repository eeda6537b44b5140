#include "platform/PathIndex.h"

#include "core/PathList.h"
#include "platform/FileDescriptor.h"
#include "platform/SmallFiles.h"

#include <QFile>
#include <QFileInfo>

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace reelhound {
namespace {

// A list grown far past its bound by some fault is still read, as far as this.
constexpr qsizetype kLongestIndexRead = 16 * 1024 * 1024;

// Holds the index's lock for as long as it lives; without a lock file (a
// folder that cannot be written) the change goes ahead unguarded, as the
// store would fail anyway.
class IndexLock {
public:
    explicit IndexLock(const QString& indexPath) {
        const QByteArray folder = QFile::encodeName(QFileInfo(indexPath).absolutePath());
        ::mkdir(folder.constData(), 0700);
        fd_.reset(::open(QFile::encodeName(indexPath + QStringLiteral(".lock")).constData(),
                         O_RDWR | O_CREAT | O_NOFOLLOW | O_CLOEXEC, 0600));
        if (fd_)
            while (::flock(fd_.get(), LOCK_EX) != 0 && errno == EINTR) {
            }
    }

private:
    FileDescriptor fd_;
};

} // namespace

QStringList PathIndex::paths() const {
    return read();
}

void PathIndex::add(const QString& path,
                    const std::function<bool(const QString&)>& stillMatters) const {
    update([&](QStringList& entries) {
        entries.removeAll(path);
        entries.append(path);
        if (entries.size() <= maximumEntries_)
            return;
        for (qsizetype i = 0; i + 1 < entries.size() && entries.size() > maximumEntries_;) {
            if (!stillMatters || stillMatters(entries[i]))
                ++i;
            else
                entries.removeAt(i);
        }
        while (entries.size() > maximumEntries_)
            entries.removeFirst();
    });
}

void PathIndex::update(const std::function<void(QStringList&)>& change) const {
    const IndexLock lock(path_);
    const QStringList before = read();
    QStringList entries = before;
    change(entries);
    if (entries != before)
        store(entries);
}

QStringList PathIndex::read() const {
    const FileDescriptor fd(
        ::open(QFile::encodeName(path_).constData(), O_RDONLY | O_NOFOLLOW | O_CLOEXEC));
    if (!fd)
        return {};
    const std::optional<QByteArray> text = readFileHead(fd.get(), kLongestIndexRead);
    if (!text)
        return {};
    QStringList entries;
    for (const std::string& path : parsePathList(std::string_view(text->constData(), text->size()),
                                                 text->size() == kLongestIndexRead))
        entries.append(QFile::decodeName(QByteArray::fromStdString(path)));
    return entries;
}

void PathIndex::store(const QStringList& entries) const {
    std::vector<std::string> paths;
    for (const QString& entry : entries)
        paths.push_back(QFile::encodeName(entry).toStdString());
    // A list lost to a power cut leaves only some old data to its lifetime.
    replaceSmallFile(QFile::encodeName(path_), QByteArray::fromStdString(formatPathList(paths)),
                     Durability::MayBeLost);
}

} // namespace reelhound
