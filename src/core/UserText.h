#pragma once

// Marks a text a person reads. The core keeps the English; the layers above
// translate it at the edge with QCoreApplication::translate(context, text),
// and the translation update collects the marked texts from here.
#define REELHOUND_USER_TEXT(context, text) text
