#include "app/ui/RowValueFill.h"

namespace velmora::app {

void RowValueFill::Start(std::size_t count) {
    m_states.assign(count, State::kWaiting);
    m_next = 0;
    m_open = count != 0;
}

bool RowValueFill::Read(std::vector<RunEntry>& entries, std::size_t index, const ReadValues& read) {
    if (!m_open || index >= m_states.size() || index >= entries.size()) return false;
    if (m_states[index] != State::kWaiting) return false;
    m_states[index] = read(entries[index]) ? State::kRead : State::kUnreadable;
    return true;
}

std::pair<std::size_t, std::size_t> RowValueFill::ReadWhile(std::vector<RunEntry>& entries,
                                                            const ReadValues& read,
                                                            const std::function<bool()>& goOn) {
    const std::size_t first = m_next;
    while (m_next < m_states.size() && goOn()) {
        Read(entries, m_next, read);
        ++m_next;
    }
    return {first, m_next};
}

int RowValueFill::Finish(std::vector<RunEntry>& entries, const ReadValues& read) {
    if (!m_open) return 0;
    ReadWhile(entries, read, [] { return true; });
    int dropped = 0;
    std::size_t kept = 0;
    for (std::size_t i = 0; i < entries.size(); ++i) {
        if (i < m_states.size() && m_states[i] == State::kUnreadable) {
            ++dropped;
            continue;
        }
        if (kept != i) entries[kept] = std::move(entries[i]);
        ++kept;
    }
    entries.resize(kept);
    m_states.clear();
    m_next = 0;
    m_open = false;
    return dropped;
}

}  // namespace velmora::app
