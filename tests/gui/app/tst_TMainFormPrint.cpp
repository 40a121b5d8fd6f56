// The print command of the main window: the print dialog for the active document, with the
// main window's status bar lent to it and the document's file for the PDF it proposes.
#include "MineText.h"
#include "app/TChildForm.h"
#include "app/TMainForm.h"
#include "model/TMine.h"
#include "print/TPrintForm.h"
#include "settings/TConfig.h"
#include "TestConfig.h"

#include <QAction>
#include <QTimer>
#include <QtTest>
#include <memory>

class tst_TMainFormPrint : public QObject {
    Q_OBJECT
private slots:
    void printOpensTheDialogForTheActiveDocument();
};

void tst_TMainFormPrint::printOpensTheDialogForTheActiveDocument()
{
    NewTestConfig();
    {
        TMainForm main;
        main.show();
        TChildForm *child = main.CreateChild();
        child->Mine()->SetTitle(QStringLiteral("Южная"));
        minetext::Build(*child->Mine(), QStringLiteral("u 1 0 0 0; u 2 10 0 0; b 1 1 2 4"));
        QString caption, title, documentFile;
        bool statusShown = false, statusCleared = false;
        QTimer::singleShot(0, this, [&] {
            auto *form = qobject_cast<TPrintForm *>(QApplication::activeModalWidget());
            if (!form)
                return;
            caption = form->windowTitle();
            title = form->BuildDocument().Title();
            documentFile = form->DocumentFile;
            form->ShowStatusText(TPrintForm::StatusText());
            statusShown = main.IsStatusTextShown();
            form->ClearStatusText();
            statusCleared = !main.IsStatusTextShown();
            form->reject();
        });
        main.UpdateActions();
        QVERIFY(main.actPrint->isEnabled());
        main.actPrint->trigger();
        QCOMPARE(caption, QStringLiteral("Печать"));
        QCOMPARE(title, QStringLiteral("Топология шахты \"Южная\""));
        QCOMPARE(documentFile, child->FileName());   // a PDF is proposed beside the document
        QVERIFY(statusShown);
        QVERIFY(statusCleared);
    }
    DropTestConfig();
}

QTEST_MAIN(tst_TMainFormPrint)
#include "tst_TMainFormPrint.moc"
