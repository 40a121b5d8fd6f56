// The main window's exchange with CAD drawings: "Импорт из DXF..." reads a drawing, asks for the
// tolerance and the layers and opens a new untitled document checked at once (none when the
// drawing is refused); "Экспорт в DXF..." writes the active document, saying which branches it
// could not draw.
#include "AppTestHooks.h"
#include "MainFormFixture.h"
#include "DxfTestFile.h"
#include "Settle.h"
#include "app/TChildForm.h"
#include "app/TMainForm.h"
#include "dialogs/TDxfImportForm.h"
#include "exchange/DxfReader.h"
#include "model/TBranch.h"
#include "model/TMine.h"
#include "settings/TConfig.h"
#include "TestConfig.h"

#include <QAction>
#include <QApplication>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTimer>
#include <QtTest>
#include <memory>

namespace {

// A triangle on "Штрек" and a loose line on "Вентиляция", in metres.
QByteArray Drawing(const QTemporaryDir &dir)
{
    DxfTestFile f;
    f.Units(6);
    f.Layer("Штрек", 1);
    f.Layer("Вентиляция", 3);
    f.Entity([](DL_Dxf &dxf, DL_WriterA &dw) {
        dxf.writePolyline(dw, DL_PolylineData(3, 0, 0, 1), DxfTestFile::On("Штрек"));
        for (const auto &p : {std::pair{0.0, 0.0}, {100.0, 0.0}, {0.0, 50.0}})
            dxf.writeVertex(dw, DL_VertexData(p.first, p.second, 0, 0));
        dxf.writeLine(dw, DL_LineData(500, 0, 0, 600, 0, 0), DxfTestFile::On("Вентиляция"));
    });
    return f.Bytes(dir);
}

QString Saved(const QTemporaryDir &dir, const QString &name, const QByteArray &bytes)
{
    QFile f(dir.filePath(name));
    if (f.open(QIODevice::WriteOnly))
        f.write(bytes);
    return f.fileName();
}

} // namespace

class tst_TMainFormDxf : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() { NewTestConfig(); }
    void cleanupTestCase()
    {
        m_form.reset();
        DropTestConfig();
    }
    void init() { OpenMainForm(m_form); }
    void cleanup() { CloseMainForm(m_form); }
    void importChecksNewWindow();
    void refusedImportOpensNothing();
    void exportListsWhatItLeftOut();

private:
    QTemporaryDir m_dir;
    std::unique_ptr<TMainForm> m_form;
};

void tst_TMainFormDxf::importChecksNewWindow()
{
    AppTestHooks hooks;
    hooks.files << QStringList{Saved(m_dir, QStringLiteral("plan.dxf"), Drawing(m_dir))};
    QStringList listed;
    QTimer::singleShot(0, this, [&] {
        auto *form = qobject_cast<TDxfImportForm *>(QApplication::activeModalWidget());
        QVERIFY(form);
        for (int i = 0; i < form->lbLayers->count(); ++i)
            listed << form->lbLayers->item(i)->text() + (form->lbLayers->item(i)->checkState() == Qt::Checked ? "+" : "-");
        form->edTolerance->setText(QStringLiteral("0,5"));
        form->lbLayers->item(1)->setCheckState(Qt::Unchecked);
        form->btnOK->click();
    });
    m_form->actImportDxf->trigger();
    settle();
    QCOMPARE(hooks.fileDialogs.first().title, QStringLiteral("Импорт из DXF"));
    QCOMPARE(listed, (QStringList{"Штрек+", "Вентиляция+"}));
    QVERIFY(hooks.errors().isEmpty());
    QCOMPARE(m_form->Children().size(), 1);
    TChildForm *child = m_form->ActiveChild();
    QCOMPARE(child->Mine()->Uzels().Count(), 3);
    QCOMPARE(child->Mine()->Branches().Count(), 3);
    QVERIFY(!child->HasFile() && child->Mine()->Modified());
    // The check ran and passed: the scheme may draw.
    QVERIFY(child->Mine()->TopologyValid());
    QCOMPARE(hooks.texts(), QStringList{QStringLiteral("узлов: 3, ветвей: 3, пластов: 1, пропущено объектов: 0")});
}

void tst_TMainFormDxf::refusedImportOpensNothing()
{
    AppTestHooks hooks;
    const QString text = Saved(m_dir, QStringLiteral("text.dxf"), "не чертёж\n");
    hooks.files << QStringList{text};
    m_form->actImportDxf->trigger();
    settle();
    QCOMPARE(hooks.errors().size(), 1);
    QCOMPARE(hooks.errors().first().text, text + QStringLiteral(": это не файл DXF"));
    QVERIFY(m_form->Children().isEmpty());

    // Cancelling the dialog opens nothing either.
    hooks.files << QStringList{Saved(m_dir, QStringLiteral("plan.dxf"), Drawing(m_dir))};
    QTimer::singleShot(0, this, [] {
        if (auto *form = qobject_cast<TDxfImportForm *>(QApplication::activeModalWidget()))
            form->btnCancel->click();
    });
    m_form->actImportDxf->trigger();
    settle();
    QVERIFY(m_form->Children().isEmpty());
}

void tst_TMainFormDxf::exportListsWhatItLeftOut()
{
    AppTestHooks hooks;
    m_form->actNew->trigger();
    settle();
    TMine *mine = m_form->ActiveChild()->Mine();
    mine->AddUzel(1, 0, 0, 0);
    mine->AddUzel(2, 10, 0, 0);
    mine->AddBranch(1, 1, 2, QString(), 1);
    mine->AddBranch(2, 2, 3, QString(), 1);
    const QString path = m_dir.filePath(QStringLiteral("out.dxf"));
    hooks.files << QStringList{path};
    m_form->actExportDxf->trigger();
    QCOMPARE(hooks.fileDialogs.first().fileName, QStringLiteral("Новый %1.dxf").arg(TChildForm::CreatedCount()));
    QCOMPARE(hooks.texts(), QStringList{QStringLiteral("ветвей: 1, перемычек: 0, пропущено ветвей: 1\r\nветвь 2: нет узла 3")});
    QCOMPARE(DxfReader::ReadFile(path, {}).Paths.size(), size_t(1));
}

QTEST_MAIN(tst_TMainFormDxf)
#include "tst_TMainFormDxf.moc"
