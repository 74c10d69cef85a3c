// Which program icons the run-command manager reads for its rows, and which
// read results still belong to its image list. Plain code: the rows' icons
// (RowIcons_win32.h) ask and record, a loader does the reading
// (FileIconLoader_win32.h).
//
// A row shows the stand-in image at once. The first time a target file is
// asked for, the book says to read it; every later ask for the same file
// (letter case of ASCII letters folded, as file names compare) gets the
// stand-in until the file's image is recorded, then that image. A new image
// list (another DPI) starts a new generation: everything known is
// forgotten, and results read for an earlier generation are no longer
// awaited.
#pragma once

#include <cstddef>
#include <map>

#include "app/runcmd/RunEntries.h"
#include "base/wide_text.h"

namespace velmora::app {

// The image of rows without an icon of their own, and of rows whose icon is
// still being read: the first of the image list.
constexpr int kStandInImage = 0;

// The file whose icon an entry's row shows: its target's file; empty for an
// entry marked broken or without a target (the stand-in, nothing read).
CStringW IconFileOf(const RunEntry& entry);

class RowIconBook {
public:
    // The image that rows of target file `file` show now. True in `*read`
    // only for the first ask of the file in this generation: the caller has
    // it read then, and only then. An empty file gives the stand-in and no
    // read.
    int ImageOf(const CStringW& file, bool* read);

    // Whether a result read for `file` in `generation` is awaited: false for
    // an earlier generation, a file never asked for, or one recorded already.
    bool Awaits(unsigned generation, const CStringW& file) const;
    // Records the image of an awaited file (kStandInImage when it has no
    // icon). Returns false, changing nothing, when the result is not awaited.
    bool Record(unsigned generation, const CStringW& file, int image);

    // A new image list: every file forgotten. Returns the new generation.
    unsigned Restart();
    unsigned Generation() const noexcept { return m_generation; }
    // Files asked for in this generation and not yet recorded.
    std::size_t Pending() const noexcept { return m_pending; }

private:
    static constexpr int kBeingRead = -1;

    unsigned m_generation = 1;
    // By folded file: the image, or kBeingRead.
    std::map<CStringW, int> m_images;
    std::size_t m_pending = 0;
};

}  // namespace velmora::app
