#include "CheckCommand.h"
#include "ToolMain.h"

#include "TerminalText.h"
#include "checks/TMessageSink.h"
#include "checks/TTopologyCheck.h"
#include "storage/TMineDocument.h"

#include <QByteArray>
#include <climits>
#include <cstdio>

namespace {

// Streams the lines as they come: a large mine may list many of them, and nothing needs them
// again.
class StdoutSink : public TMessageSink {
public:
    ~StdoutSink() override { Flush(); }

    void ClearMessages() override
    {
        // The check clears the list only before its first line; nothing printed is taken back.
        m_count = 0;
    }
    void AddMessage(const QString &text, std::optional<TErrorInfo>) override
    {
        m_buffer += TerminalText::Escaped(text).toUtf8();
        m_buffer += '\n';
        if (m_count < INT_MAX)
            ++m_count;
        if (m_buffer.size() >= 64 * 1024)
            Flush();
    }
    int MessageCount() const override { return m_count; }

    void Flush()
    {
        if (!m_buffer.isEmpty())
            std::fwrite(m_buffer.constData(), 1, size_t(m_buffer.size()), stdout);
        std::fflush(stdout);
        m_buffer.clear();
    }

private:
    QByteArray m_buffer;
    int m_count = 0;
};

} // namespace

int CheckCommand::Run(const QString &operand)
{
    TMineDocument doc;
    ToolMain::LoadMine(doc, operand);
    StdoutSink sink;
    TTopologyCheck check(*doc.Mine(), sink);
    const TCheckOutcome outcome = check.CheckAll();
    sink.Flush();
    return ToolMain::Finish(outcome.Passed() ? kPassed : kFound);
}
