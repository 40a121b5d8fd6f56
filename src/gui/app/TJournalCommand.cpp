#include "app/TJournalCommand.h"

namespace {
// The id of every command that may merge; whether two do is their merge keys' business.
constexpr int kMergeableId = 29;
} // namespace

TJournalCommand::TJournalCommand(std::unique_ptr<TChangeStep> step, std::function<void(const TStepFocus &)> after)
    : QUndoCommand(step->Name), m_step(std::move(step)), m_after(std::move(after))
{
}

void TJournalCommand::undo()
{
    m_step->Undo();
    m_done = false;
    if (m_after)
        m_after(m_step->Focus());
}

void TJournalCommand::redo()
{
    if (m_done)
        return;   // pushed: done already
    m_step->Redo();
    m_done = true;
    if (m_after)
        m_after(m_step->Focus());
}

int TJournalCommand::id() const
{
    return m_step->MergeKey != 0 ? kMergeableId : -1;
}

bool TJournalCommand::mergeWith(const QUndoCommand *other)
{
    auto *later = dynamic_cast<const TJournalCommand *>(other);
    if (!later || later->m_step->MergeKey != m_step->MergeKey)
        return false;
    m_step->Append(*later->m_step);
    setObsolete(m_step->ChangesNothing());
    return true;
}
