// make-help-screenshots: the pictures of the manual, taken from the editor's own windows on the
// sample mine and written with a small palette into help/ru/images/. Run it through
// help/make-screenshots, which starts it on a virtual display:
//   build/bin/make-help-screenshots examples/sample-mine.mdf help/ru/images
#include "app/TApplication.h"
#include "app/TChildForm.h"
#include "app/TMainForm.h"
#include "app/TRecovery.h"
#include "base/AppDialogs.h"
#include "base/Help.h"
#include "base/THelpWindow.h"
#include "checks/TIsolForm.h"
#include "base/AppDialogs.h"
#include "dialogs/TDxfImportForm.h"
#include "dialogs/TCompareForm.h"
#include "dialogs/TEditLayersForm.h"
#include "editor/TJumperPanel.h"
#include "editor/TNetworkTables.h"
#include "editor/TPerimTypeForm.h"
#include "exchange/DxfWriter.h"
#include "model/TBranch.h"
#include "model/TMine.h"
#include "model/TUzel.h"
#include "print/TPrintForm.h"
#include "schemes/TGraph3DForm.h"
#include "schemes/TIncidGraphForm.h"
#include "schemes/TPictureSizeDialog.h"
#include "settings/TConfig.h"
#include "settings/TOptionsForm.h"
#include "storage/TMdfWriter.h"
#include "storage/TMineDocument.h"
#include "storage/TMineFile.h"
#include "storage/TRecoveryStore.h"

#include <QDir>
#include <QElapsedTimer>
#include <QImage>
#include <QListWidget>
#include <QMdiSubWindow>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QSplitter>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QToolButton>
#include <QTimer>
#include <cstdio>
#include <functional>

namespace {

QString g_out;
int g_failures = 0;

void settle(int ms = 150)
{
    QElapsedTimer t;
    t.start();
    while (t.elapsed() < ms)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
}

// A screenshot needs few colours: 8-bit with a palette keeps the pages light.
void save(QWidget *w, const QString &name)
{
    if (!w) {
        std::fprintf(stderr, "make-help-screenshots: no window for %s\n", qPrintable(name));
        ++g_failures;
        return;
    }
    settle();
    const QImage image = w->grab().toImage().convertToFormat(QImage::Format_Indexed8, Qt::ThresholdDither);
    const QString path = g_out + u'/' + name;
    if (!image.save(path, "PNG", 9)) {
        std::fprintf(stderr, "make-help-screenshots: cannot write %s\n", qPrintable(path));
        ++g_failures;
    }
}

template <class T>
T *topLevel()
{
    for (QWidget *w : QApplication::topLevelWidgets())
        if (auto *t = qobject_cast<T *>(w); t && t->isVisible())
            return t;
    return nullptr;
}

// Runs open, which shows a modal window; photographs it, runs within (which may open another)
// and closes it.
void modal(const std::function<void()> &open, const QString &name, const std::function<void(QWidget *)> &within = {})
{
    QTimer::singleShot(400, [name, within] {
        QWidget *w = QApplication::activeModalWidget();
        save(w, name);
        if (w && within)
            within(w);
        if (w)
            w->close();
    });
    open();
}

} // namespace

int main(int argc, char *argv[])
{
    TApplication app(argc, argv);
    if (argc != 3) {
        std::fprintf(stderr, "usage: make-help-screenshots SAMPLE.mdf OUTDIR\n");
        return 64;
    }
    const QString sample = QFileInfo(QString::fromLocal8Bit(argv[1])).absoluteFilePath();
    g_out = QFileInfo(QString::fromLocal8Bit(argv[2])).absoluteFilePath();
    QDir().mkpath(g_out);

    StartConfig();
    {
        TMainForm main;
        main.resize(1000, 640);
        main.show();
        main.OpenDocumentFile(sample);
        TChildForm *child = main.ActiveChild();
        if (auto *sub = qobject_cast<QMdiSubWindow *>(child->parentWidget()))
            sub->showMaximized();
        settle(400);

        // The sample as a CAD drawing, imported again at the end.
        TMine *mine = child->Mine();
        const QString drawing = QDir::temp().filePath(QStringLiteral("sample-mine.dxf"));
        DxfWriter::Export(*mine, drawing, {});

        // The main window after a check, on a branch that has stoppings.
        child->CheckPhysics(false);
        int withStoppings = 0;
        for (int i = 1; i <= mine->Branches().Count(); ++i)
            if (mine->Branches().Items(i)->Jumpers().Count() > 1) {
                withStoppings = i;
                break;
            }
        if (withStoppings > 0)
            child->ShowBranchRow(withStoppings);
        save(&main, QStringLiteral("main-window.png"));
        save(child->pnlJumpers, QStringLiteral("stoppings.png"));

        // The Edit menu with both commands named: branches sorted by length, a node made a surface
        // node and that taken back; then the sort is taken back too, for the pictures after it.
        main.actSortL->trigger();
        main.actSurfUzel->trigger();
        main.actUndo->trigger();
        settle(100);
        for (QAction *a : main.menuBar()->actions())
            if (a->menu() && a->text() == QStringLiteral("&Правка")) {
                a->menu()->popup(main.mapToGlobal(QPoint(0, 0)));
                settle(200);
                save(a->menu(), QStringLiteral("edit-menu.png"));
                a->menu()->hide();
            }
        main.actUndo->trigger();
        settle(100);

        // Windows of the mine menu.
        main.actCheckIsol->trigger();
        save(TIsolForm::Instance(), QStringLiteral("isol.png"));
        if (TIsolForm::Instance())
            TIsolForm::Instance()->close();

        // The compare window on the sample and a copy changed as after a survey.
        {
            QTemporaryDir dir;
            const QString changed = dir.filePath(QStringLiteral("шахта-после-съемки.mdf"));
            TMineDocument copy;
            TMineFile::Load(copy, sample);
            TMine &m = *copy.Mine();
            m.Uzels().Items(3)->SetCoordinate(1, m.Uzels().Items(3)->X() + 12.5f);
            m.Branches().Items(2)->SetSection(9.5f);
            m.Branches().Items(5)->SetComment(QStringLiteral("Перекреплен в 2026 г."));
            m.AddUzel(m.Uzels().Items(m.Uzels().Count())->Number() + 1, 100.0f, 250.5f, -120.0f);
            copy.Mine()->SetTitle(copy.Mine()->Title() + QStringLiteral(", 2026"));
            TMineFile::Save(copy, changed);
            auto *compare = new TCompareForm(child->Document(), changed, child);
            compare->Refresh();
            compare->show();
            settle(300);
            save(compare, QStringLiteral("compare.png"));
            compare->close();
        }

        main.actGraph3D->trigger();
        if (TGraph3DForm *scheme = main.Graph3DForm()) {
            scheme->resize(640, 520);
            mine->SetAngles(35, 30);
            save(scheme, QStringLiteral("scheme-3d.png"));
            QSize size;
            modal([&] { TPictureSizeDialog::Ask(scheme, QSize(608, 363), &size); }, QStringLiteral("picture-size.png"));
            scheme->close();
        }

        main.actIncidGraph->trigger();
        if (auto *incid = topLevel<TIncidGraphForm>()) {
            incid->resize(420, 300);
            save(incid, QStringLiteral("incid.png"));
            incid->close();
        }

        // Dialogs.
        if (TBranch *branch = child->CurrentBranch()) {
            TPerimTypeForm perim(branch, &main);
            modal([&] { perim.exec(); }, QStringLiteral("perim-type.png"));
        }
        modal([&] { main.actSetup->trigger(); }, QStringLiteral("options.png"), [](QWidget *w) {
            if (auto *options = qobject_cast<TOptionsForm *>(w)) {
                options->PageControl->setCurrentIndex(1);
                save(options, QStringLiteral("options-view.png"));
            }
        });
        // The question a start asks about a copy that a crashed run left.
        {
            QTemporaryDir state;
            {
                TRecoveryStore crashed(state.path());
                TRecoveryInfo info;
                info.FileName = sample;
                info.HasFile = true;
                info.Time = QDateTime::currentDateTime();
                crashed.Write(1, TMdfWriter::Snapshot(child->Document()), info);
            }
            TRecovery recovery(&main, state.path());
            modal([&] { recovery.OfferLeftovers(); }, QStringLiteral("recovery.png"));
        }
        modal([&] { main.actPrint->trigger(); }, QStringLiteral("print.png"), [](QWidget *print) {
            auto *form = qobject_cast<TPrintForm *>(print);
            if (!form)
                return;
            QTimer::singleShot(600, [] {
                QWidget *w = QApplication::activeModalWidget();
                if (w)
                    w->showNormal();
                if (w)
                    w->resize(900, 600);
                save(w, QStringLiteral("preview.png"));
                if (w)
                    w->close();
            });
            form->btnPreview->click();
        });

        // The CSV export's question of the format, the folder given without its dialog.
        {
            QTemporaryDir folder;
            AppDialogs::SetFileDialogHook([&folder](const AppDialogs::FileDialogRequest &) { return QStringList{folder.path()}; });
            modal([&] { main.actExportCsv->trigger(); }, QStringLiteral("csv-export.png"));
            AppDialogs::SetFileDialogHook({});
        }
        modal([&] { main.actFileProp->trigger(); }, QStringLiteral("file-prop.png"));
        modal([&] { main.actTransform->trigger(); }, QStringLiteral("transform.png"));
        modal([&] { main.actFind->trigger(); }, QStringLiteral("find.png"));
        modal([&] { main.actEditLayers->trigger(); }, QStringLiteral("layers.png"), [](QWidget *w) {
            auto *editor = qobject_cast<TEditLayersForm *>(w);
            if (!editor || editor->lbGroups->count() == 0)
                return;
            editor->lbGroups->setCurrentRow(0);
            QTimer::singleShot(400, [] {
                QWidget *picker = QApplication::activeModalWidget();
                save(picker, QStringLiteral("color.png"));
                if (picker)
                    picker->close();
            });
            editor->btnColor->click();
        });

        // The help window on its contents.
        ShowHelpContents(&main);
        if (THelpWindow *help = THelpWindow::Existing()) {
            help->resize(720, 480);
            save(help, QStringLiteral("help-window.png"));
            help->close();
        }
        // The message panel after a check that found faults: a node number given twice and a
        // branch that names a node the mine lacks.
        mine->Uzels().Items(7)->SetNumber(mine->Uzels().Items(8)->Number());
        mine->Branches().Items(5)->SetNumbers(3, 999);
        child->CheckPhysics(false);
        child->SetJumperPanelVisible(false);
        child->MainSplit->setSizes({330, 0, 170});
        save(child, QStringLiteral("messages.png"));
        child->CloseWithoutQuestion();
        settle();

        // Import from DXF: the dialog, then the network in the 3D scheme coloured by seams. The
        // file dialog and the closing summary are answered here.
        AppDialogs::SetFileDialogHook([drawing](const AppDialogs::FileDialogRequest &) { return QStringList{drawing}; });
        AppDialogs::SetMessageHook([](const AppDialogs::MessageRequest &) { return QMessageBox::Ok; });
        modal([&] { main.actImportDxf->trigger(); }, QStringLiteral("dxf-import.png"), [](QWidget *w) {
            if (auto *form = qobject_cast<TDxfImportForm *>(w))
                form->btnOK->click();
        });
        settle(400);
        AppDialogs::SetFileDialogHook({});
        AppDialogs::SetMessageHook({});
        if (TChildForm *imported = main.ActiveChild()) {
            // Turned about the same branch as the sample's picture (export keeps the order).
            if (withStoppings > 0)
                imported->ShowBranchRow(withStoppings);
            main.actGraph3D->trigger();
            if (TGraph3DForm *scheme = main.Graph3DForm()) {
                scheme->resize(640, 520);
                scheme->clbColors->item(2)->setCheckState(Qt::Checked);   // "использовать цвета пластов"
                imported->Mine()->SetAngles(35, 30);
                save(scheme, QStringLiteral("dxf-scheme.png"));
                scheme->close();
            }
            imported->CloseWithoutQuestion();
            settle();
        }
        QFile::remove(drawing);
    }
    delete THelpWindow::Existing();
    FinishConfig();
    return g_failures == 0 ? 0 : 1;
}
