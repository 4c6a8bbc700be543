// Undo and redo over snapshot pairs: each step keeps the state before and after it, since the
// selection may move between steps without making one.
#include "app/undo_history.h"

#include <algorithm>

namespace lumo {

UndoHistory::UndoHistory(int stepsKept) : m_stepsKept(static_cast<std::size_t>(std::max(stepsKept, 1))) {}

std::optional<bool> UndoHistory::closeSession(const UndoSnapshot& now)
{
    if (!m_sessionStart)
        return std::nullopt;
    const UndoSnapshot start = std::move(*m_sessionStart);
    m_sessionStart.reset();
    return push(start, now);
}

void UndoHistory::reopen(bool wasOpen, const UndoSnapshot& now)
{
    if (wasOpen)
        m_sessionStart = now;
}

bool UndoHistory::push(const UndoSnapshot& before, const UndoSnapshot& after)
{
    if (before.scenes == after.scenes)
        return false;
    // A new change cuts off what could be redone, the marked state with it if it lay there.
    m_steps.erase(m_steps.begin() + static_cast<std::ptrdiff_t>(m_applied), m_steps.end());
    if (m_clean && *m_clean > m_applied)
        m_clean.reset();
    m_steps.push_back({before, after});
    ++m_applied;
    if (m_steps.size() > m_stepsKept) {
        m_steps.pop_front();
        --m_applied;
        if (m_clean)
            m_clean = *m_clean == 0 ? std::nullopt : std::optional<std::size_t>(*m_clean - 1);
    }
    return true;
}

void UndoHistory::beginStep(const UndoSnapshot& now)
{
    closeSession(now);
    m_sessionStart = now;
}

bool UndoHistory::commitStep(const UndoSnapshot& now)
{
    return closeSession(now).value_or(false);
}

bool UndoHistory::record(const UndoSnapshot& before, const UndoSnapshot& after)
{
    const bool open = closeSession(before).has_value();
    const bool recorded = push(before, after);
    reopen(open, after);
    return recorded;
}

bool UndoHistory::canUndo() const
{
    return m_applied > 0;
}

bool UndoHistory::canRedo() const
{
    return m_applied < m_steps.size();
}

std::optional<UndoSnapshot> UndoHistory::undo(const UndoSnapshot& now)
{
    const bool open = closeSession(now).has_value();
    if (!canUndo()) {
        reopen(open, now);
        return std::nullopt;
    }
    --m_applied;
    const UndoSnapshot& shown = m_steps[m_applied].before;
    reopen(open, shown);
    return shown;
}

std::optional<UndoSnapshot> UndoHistory::redo(const UndoSnapshot& now)
{
    const bool open = closeSession(now).has_value();
    if (!canRedo()) {
        reopen(open, now);
        return std::nullopt;
    }
    const UndoSnapshot& shown = m_steps[m_applied].after;
    ++m_applied;
    reopen(open, shown);
    return shown;
}

void UndoHistory::markClean(const UndoSnapshot& now)
{
    const bool open = closeSession(now).has_value();
    m_clean = m_applied;
    reopen(open, now);
}

bool UndoHistory::isClean() const
{
    return m_clean == m_applied;
}

} // namespace lumo
