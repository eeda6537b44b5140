#pragma once

// Marks a text a person reads. The core keeps the English; the layers above
// translate it at the edge with QCoreApplication::translate(context, text),
// and the translation update collects the marked texts from here.
#define REELHOUND_USER_TEXT(context, text) text

// A marked text that shows a count: the layers above translate it with the
// count, so that each language can pick its plural form; the English is the
// same for every count.
#define REELHOUND_USER_COUNT_TEXT(context, text) text
