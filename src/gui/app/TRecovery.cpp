#include "app/TRecovery.h"

#include "AppError.h"
#include "app/TChildForm.h"
#include "app/TMainForm.h"
#include "base/AppDialogs.h"
#include "base/Guarded.h"
#include "model/TMine.h"
#include "settings/TConfig.h"
#include "storage/TMdfWriter.h"
#include "storage/TRecoveryStore.h"

#include <QDateTime>
#include <QFileInfo>
#include <QStatusBar>

#include <cstdio>
#include <new>

namespace {

int testInterval = 0;
int testSlice = 0;
constexpr int kSliceElements = 16384;
// The manual's page on recovery, behind the question's Help button and F1.
constexpr int RecoveryHelpTopic = 40;
// The windows are looked at this often at most, whatever the interval.
constexpr int kMaxLookMs = 5000;
constexpr int kMinLookMs = 20;
constexpr int kErrorShownMs = 15000;

} // namespace

TRecovery::TRecovery(TMainForm *mainForm, const QString &folder) : m_mainForm(mainForm)
{
    try {
        m_store = std::make_unique<TRecoveryStore>(folder);
    } catch (const AppError &e) {
        std::fprintf(stderr, "%s\n", e.what());
    }
    connect(&m_timer, &QTimer::timeout, this, &TRecovery::CopyDue);
    m_slicer.setSingleShot(true);
    connect(&m_slicer, &QTimer::timeout, this, &TRecovery::copySlice);
    if (m_store)
        restartTimer();
}

// Windows still open keep their copies for a later start (the store finishes the writes it was
// asked for first).
TRecovery::~TRecovery() = default;

void TRecovery::SetIntervalForTests(int milliseconds)
{
    testInterval = milliseconds;
}

void TRecovery::SetSliceForTests(int elements)
{
    testSlice = elements;
}

int TRecovery::intervalMs() const
{
    if (testInterval > 0)
        return testInterval;
    const qint32 minutes = Config ? Config->RecoveryMinutes : TConfig::DefaultRecoveryMinutes;
    return minutes > 0 ? minutes * 60 * 1000 : 0;
}

void TRecovery::restartTimer()
{
    // A changed setting takes effect at the next look.
    const int interval = intervalMs();
    const int look = interval > 0 ? qBound(kMinLookMs, interval / 4, kMaxLookMs) : kMaxLookMs;
    if (!m_timer.isActive() || m_timer.interval() != look)
        m_timer.start(look);
}

TRecovery::TTracked &TRecovery::track(TChildForm *child)
{
    auto it = m_tracked.find(child);
    if (it != m_tracked.end())
        return *it;
    TTracked t;
    t.Slot = m_nextSlot++;
    connect(child, &TChildForm::ModifiedChanged, this, [this, child](bool modified) {
        // Saved, or the changes dropped at the close question: the copy is of no more use.
        if (!modified)
            forget(child, false);
    });
    // Closed: whether saved or not, nothing of it is left to recover.
    connect(child, &QObject::destroyed, this, [this, child] { forget(child, true); });
    return *m_tracked.insert(child, t);
}

void TRecovery::forget(TChildForm *child, bool drop)
{
    if (m_pending && m_pending->Child == child)
        m_pending.reset();
    auto it = m_tracked.find(child);
    if (it == m_tracked.end())
        return;
    if (it->HasCopy && m_store)
        m_store->RemoveLater(it->Slot);
    if (drop) {
        m_tracked.erase(it);
        return;
    }
    it->HasCopy = false;
    it->CopiedChanges = child->ChangeCount();
    it->DirtySince.invalidate();
}

void TRecovery::CopyDue()
{
    if (!m_store)
        return;
    restartTimer();
    const QString failure = m_store->TakeError();
    if (!failure.isEmpty())
        m_mainForm->statusBar()->showMessage(
            QStringLiteral("Копия для восстановления не записана: %1").arg(failure), kErrorShownMs);
    const int interval = intervalMs();
    if (interval <= 0)
        return;
    for (TChildForm *child : m_mainForm->Children()) {
        TTracked &t = track(child);
        if (!child->IsModified() || child->ChangeCount() == t.CopiedChanges) {
            if (!child->IsModified())
                t.DirtySince.invalidate();
            continue;
        }
        if (!t.DirtySince.isValid())
            t.DirtySince.start();
        // A bulk change midway is not a document anyone had; one copy at a time, and none
        // while the last one is still on its way to the disk.
        if (t.DirtySince.elapsed() >= interval && !child->Mine()->Updating() && !m_pending && !m_store->Busy())
            startCopy(child);
    }
}

void TRecovery::startCopy(TChildForm *child)
{
    const TMineDocument &doc = child->Document();
    m_pending = std::make_unique<TPending>();
    m_pending->Child = child;
    m_pending->Changes = child->ChangeCount();
    m_pending->Info.FileName = doc.FileName();
    m_pending->Info.HasFile = doc.HasFile();
    m_pending->Info.Time = QDateTime::currentDateTime();
    m_pending->Snapshot = std::make_unique<TMdfSnapshot>(doc);
    m_slicer.start(0);
}

void TRecovery::copySlice()
{
    if (!m_pending)
        return;
    TChildForm *child = m_pending->Child;
    // Changed since the copy began (or gone): what is laid out is of no document; the next look
    // starts again.
    if (!child || child->ChangeCount() != m_pending->Changes || child->Mine()->Updating()) {
        m_pending.reset();
        return;
    }
    bool done = false;
    try {
        done = m_pending->Snapshot->Step(testSlice > 0 ? testSlice : kSliceElements);
    } catch (const std::bad_alloc &) {
        // Too large to hold twice now: tried again at the next look.
        m_pending.reset();
        return;
    }
    if (!done) {
        m_slicer.start(0);   // the user's events come first
        return;
    }
    const std::unique_ptr<TPending> pending = std::move(m_pending);
    auto it = m_tracked.find(child);
    if (it == m_tracked.end())
        return;
    m_store->WriteLater(it->Slot, pending->Snapshot->TakeBytes(), pending->Info);
    it->HasCopy = true;
    it->CopiedChanges = pending->Changes;
    it->DirtySince.invalidate();
}

QString TRecovery::QuestionText(const QString &fileName, const QDateTime &time)
{
    const QString name = fileName.isEmpty() ? QStringLiteral("без названия") : QFileInfo(fileName).fileName();
    const QDateTime local = time.toLocalTime();
    const QString when = local.date() == QDate::currentDate() ? local.toString(QStringLiteral("HH:mm"))
                                                             : local.toString(QStringLiteral("dd.MM.yyyy HH:mm"));
    return QStringLiteral("Восстановить документ «%1» от %2?").arg(name, when);
}

void TRecovery::OfferLeftovers()
{
    if (!m_store)
        return;
    for (const TRecoveryEntry &entry : m_store->TakeLeftovers()) {
        AppDialogs::MessageRequest question;
        question.icon = QMessageBox::Question;
        question.text = QuestionText(entry.Info.FileName, entry.Info.Time);
        question.buttons = QMessageBox::Yes | QMessageBox::No | QMessageBox::Ignore;
        question.defaultButton = QMessageBox::Yes;
        question.buttonTexts = {{QMessageBox::Yes, QStringLiteral("Да")},
                                {QMessageBox::No, QStringLiteral("Нет")},
                                {QMessageBox::Ignore, QStringLiteral("Отложить")},
                                {QMessageBox::Help, QStringLiteral("Справка")}};
        // Escape must not cost the user the copy.
        question.escapeButton = QMessageBox::Ignore;
        question.helpTopic = RecoveryHelpTopic;
        switch (AppDialogs::ShowMessageBox(m_mainForm, question)) {
        case QMessageBox::Yes:
            // A copy that cannot be read is reported and kept: the user may still want it.
            RunGuarded([&] {
                TChildForm *child = m_mainForm->CreateChild();
                child->LoadRecovered(entry.Path, entry.Info.FileName, entry.Info.HasFile);
                TTracked &t = track(child);
                t.CopiedChanges = child->ChangeCount();
                try {
                    // The copy goes on as this window's own until the next one replaces it.
                    m_store->Adopt(entry, t.Slot);
                    t.HasCopy = true;
                } catch (const AppError &) {
                    // Left where it is it would come back at the next start, older than the
                    // document open now; a copy of that follows at the next look instead.
                    m_store->Discard(entry);
                    t.CopiedChanges = 0;
                }
            });
            break;
        case QMessageBox::No:
            m_store->Discard(entry);
            break;
        default:
            break;
        }
    }
    m_store->ReleaseLeftovers();
    m_mainForm->UpdateActions();
}
