// Long paths made to fit a width by leaving out their middle: the start
// (the drive and the first folders) and the file name stay, "…" stands for
// the folders between, so that a user still sees which file it is. Text
// around the path is kept whole. The width of a text is asked of a callback
// (the window side measures it in the control's font).
#pragma once

#include <functional>

#include "base/wide_text.h"

namespace velmora::app {

using TextWidth = std::function<int(const CStringW& text)>;

// `text` with its path part (from `pathStart`, `pathLength` units) shortened
// in the middle until the whole text is at most `maxWidth` wide: as much of
// the path's start as fits, "…", then the path's last part (from its last
// backslash) whole. Returned unchanged when it fits already, when the range
// lies outside the text, or when the path has no folder to leave out; when
// even no start at all does not fit, the text with "…" and the last part.
CStringW ShortenPathInText(const CStringW& text, std::size_t pathStart, std::size_t pathLength, int maxWidth,
                           const TextWidth& widthOf);

// The same for a text that is a path and nothing else.
CStringW ShortenPath(const CStringW& path, int maxWidth, const TextWidth& widthOf);

// Where a status message names a file or folder: the last run that starts
// with a drive ("C:\") or a network name ("\\"), up to a closing quote
// ("”", '"') or the end of the text. False when it names none.
bool FindPathInText(const CStringW& text, std::size_t* pStart, std::size_t* pLength);

// A status message fitted to `maxWidth`: its path (FindPathInText)
// shortened in the middle; a message without a path unchanged.
CStringW FitMessageWidth(const CStringW& text, int maxWidth, const TextWidth& widthOf);

}  // namespace velmora::app
