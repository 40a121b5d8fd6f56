#pragma once
// Edits survive a crash: every document window with unsaved changes is copied into the user's
// recovery folder (storage/TRecoveryStore.h says where and how), and a later start offers the
// copies of an editor that is no longer running.
//
// When: a change not yet in a copy is copied once it is "Установки" → RecoveryMinutes old (0:
// no copies); the windows are looked at a few times per interval, at most every 5 s. How: the
// copy is the bytes of the mine file, laid out by the file's writer on the interface thread (the
// only one that may read the document) a slice of 16,384 elements at a time between the events
// of the user (TMdfSnapshot), and written to disk in the store's own thread. Laying out 100,000
// nodes and 100,000 branches at once takes about 40 ms, more than a frame; a slice takes a few.
// A change between two slices throws the copy away and the next look starts another. The copy
// goes when the document is saved, or closed without saving.
//
// At start (OfferLeftovers) each copy left by an editor that ended without closing its document
// is offered once: "Восстановить документ «…» от 12:41?" Да opens it as the modified document it
// was, under its own path (or untitled); Нет removes the copy; Отложить keeps it for the next
// start.
//
// Owned by whoever starts the program (main), beside the main window it watches; the main window
// does not know it.
#include <QElapsedTimer>
#include <QHash>
#include <QObject>
#include <QPointer>
#include <QTimer>
#include <memory>

#include "storage/TRecoveryStore.h"

class TChildForm;
class TMainForm;
class TMdfSnapshot;
class TRecoveryStore;

class TRecovery : public QObject {
    Q_OBJECT
public:
    // Starts this run's session in folder; when the folder cannot be used there are no copies
    // (said once on standard error) and nothing is offered.
    TRecovery(TMainForm *mainForm, const QString &folder);
    ~TRecovery() override;

    // Asks about every copy left by editors no longer running.
    void OfferLeftovers();
    // One look at the document windows: copies whatever is due. The timer runs it.
    void CopyDue();

    // The text of the question about a copy of the document fileName (its path, empty when not
    // known) taken at time, which shows the day too when it is not today.
    static QString QuestionText(const QString &fileName, const QDateTime &time);
    // Tests: the interval in milliseconds instead of the setting's minutes, and the elements
    // laid out per slice; 0 gives the defaults back.
    static void SetIntervalForTests(int milliseconds);
    static void SetSliceForTests(int elements);
    // The store, or none when the folder could not be used.
    TRecoveryStore *Store() const { return m_store.get(); }

private:
    struct TTracked {
        int Slot = 0;
        bool HasCopy = false;
        quint64 CopiedChanges = 0;
        QElapsedTimer DirtySince;   // first change seen that is in no copy; invalid: none
    };
    // A copy under way: its document, the count of changes it holds, the layout so far.
    struct TPending {
        QPointer<TChildForm> Child;
        quint64 Changes = 0;
        TRecoveryInfo Info;
        std::unique_ptr<TMdfSnapshot> Snapshot;
    };
    int intervalMs() const;
    TTracked &track(TChildForm *child);
    void startCopy(TChildForm *child);
    void copySlice();
    void forget(TChildForm *child, bool drop);
    void restartTimer();

    TMainForm *m_mainForm;
    std::unique_ptr<TRecoveryStore> m_store;
    QHash<TChildForm *, TTracked> m_tracked;
    QTimer m_timer;
    QTimer m_slicer;
    std::unique_ptr<TPending> m_pending;
    int m_nextSlot = 1;
};
