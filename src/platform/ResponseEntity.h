#pragma once

#include "core/ContentRange.h"

#include <QString>

#include <string>

namespace reelhound {

struct HttpResponseHead;

// Why the body of a successful answer is not the file itself, as a download
// asks for it (the whole file, no range, no content coding); empty when it is.
// A 206 or a Content-Range is only part of the file; a Content-Encoding other
// than identity is the file packed in a way the download does not undo.
QString whyBodyIsNotTheWholeFile(const HttpResponseHead& head);
// The content-coding part of that, which also holds for a continuation.
QString whyBodyIsPacked(const HttpResponseHead& head);

// The field an If-Range names: the ETag, or else Last-Modified.
std::string validatorOf(const HttpResponseHead& head);
// What an answer to a range request says, to be checked against the file.
ContinuationAnswer continuationAnswerOf(const HttpResponseHead& head);

} // namespace reelhound
