// RowValueFill: which of the manager's entries still wait for their values.
//
// Reading an entry's values is four trips to the registry, listing its name
// one: the manager lists the names (RunCommandStore::ListKeys), shows the
// rows at once, reads a row's values when the row is first drawn and the
// others while the window has nothing else to do. Before anything acts on
// the entries, filters them or sorts them by a value, the listing is
// finished: every value read, and the entries whose keys could not be read
// dropped and counted, as a whole listing would have skipped and counted
// them. Entry indexes are those of the listing given to Start.
#pragma once

#include <cstddef>
#include <functional>
#include <utility>
#include <vector>

#include "app/runcmd/RunEntries.h"

namespace velmora::app {

class RowValueFill {
public:
    // Reads an entry's values into it; false when its key cannot be read.
    using ReadValues = std::function<bool(RunEntry& entry)>;

    // The `count` entries just listed wait; with none, nothing is open.
    void Start(std::size_t count);
    // A listing was started and is not finished.
    bool Open() const noexcept { return m_open; }
    // Entry `index` waits for its values.
    bool Waits(std::size_t index) const noexcept {
        return index < m_states.size() && m_states[index] == State::kWaiting;
    }

    // Reads entry `index` when it still waits; true when it was read now
    // (its key may have turned out unreadable: it is dropped at Finish).
    bool Read(std::vector<RunEntry>& entries, std::size_t index, const ReadValues& read);
    // Reads the waiting entries in list order while `goOn` (asked before
    // each) says so. The indexes visited: first, one past the last.
    std::pair<std::size_t, std::size_t> ReadWhile(std::vector<RunEntry>& entries, const ReadValues& read,
                                                  const std::function<bool()>& goOn);
    // Reads what still waits, drops the entries whose keys could not be
    // read and closes the listing: how many were dropped. Nothing when
    // nothing is open.
    int Finish(std::vector<RunEntry>& entries, const ReadValues& read);

private:
    enum class State : unsigned char { kWaiting, kRead, kUnreadable };
    std::vector<State> m_states;
    std::size_t m_next = 0;  // no entry before it waits
    bool m_open = false;
};

}  // namespace velmora::app
