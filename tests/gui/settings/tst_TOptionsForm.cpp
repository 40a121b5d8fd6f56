// The options dialog driven like a user: opening from Config, choosing kinds, palette clicks,
// style boxes, font and size, the sample table, "&Сбросить", "&OK", "&Отмена" and help.
#include "AppTestHooks.h"
#include "ConfigAttrs.h"
#include "base/Utils.h"
#include "settings/TColorGrid.h"
#include "settings/TConfig.h"
#include "settings/TOptionsForm.h"
#include "settings/TRegistry.h"
#include "settings/TSampleGrid.h"
#include "TestConfig.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollArea>
#include <QScrollBar>
#include <QSpinBox>
#include <QStandardPaths>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QtTest>
#include <memory>

namespace {

struct Snapshot {
    QString fontname;
    int fontSize;
    Attrs attrs;
    int pressureMode;
    bool useColor;
    QStringList lastFiles;
    QString surname;

    explicit Snapshot(const TConfig &c)
        : fontname(c.Fontname), fontSize(c.FontSize), attrs(attrsOf(c)),
          pressureMode(c.PressureMode), useColor(c.UseColor), lastFiles(c.LastFiles),
          surname(c.Surname)
    {
    }
    bool operator==(const Snapshot &) const = default;
};

void clickPalette(TColorGrid *grid, int index, Qt::MouseButton button)
{
    QTest::mouseClick(grid, button, {}, grid->CellRect(index).center());
}

} // namespace

class TestTOptionsForm : public QObject {
    Q_OBJECT

private:
    std::unique_ptr<QTemporaryDir> m_store;
    int m_applied = 0;

private slots:
    void initTestCase()
    {
        QStandardPaths::setTestModeEnabled(true);
        TOptionsForm::ApplyDisplaySettings = [this] { ++m_applied; };
    }

    void init()
    {
        m_store = std::make_unique<QTemporaryDir>();
        TRegistry::SetStoreFolder(m_store->path());
        NewTestConfig();
        Config->LastFiles = {QStringLiteral("/mine.mdf")};
        Config->Surname = QStringLiteral("Петров");
        m_applied = 0;
    }

    void cleanup()
    {
        DropTestConfig();
        TRegistry::SetStoreFolder(QString());
    }

    void opensOnACopyOfTheSettings()
    {
        Config->Fontname = QStringLiteral("Arial");
        Config->FontSize = 10;
        Config->PressureMode = 1;
        Config->CellAttr = {0x00008000, 0x00FF0000, true, false, true};
        TOptionsForm form;
        QCOMPARE(form.windowTitle(), QStringLiteral("Установки"));
        QCOMPARE(form.PageControl->tabText(0), QStringLiteral("Цвета"));
        QCOMPARE(form.PageControl->tabText(1), QStringLiteral("Вид"));
        QCOMPARE(form.lbItems->count(), 9);
        QCOMPARE(form.lbItems->item(5)->text(), QStringLiteral("Локальное скопление метана и пыли"));
        QCOMPARE(form.cbFont->currentText(), QStringLiteral("Arial"));
        QCOMPARE(form.edSize->text(), QStringLiteral("10"));
        QVERIFY(form.rbMPa->isChecked());
        QVERIFY(!form.rbAt->isChecked());
        QCOMPARE(form.lbItems->currentRow(), 0);
        QCOMPARE(form.sgSample->CurrentRow(), 1);
        QCOMPARE(form.ColorGrid->BackgroundIndex(), 2);    // green
        QCOMPARE(form.ColorGrid->ForegroundIndex(), 12);   // blue
        QVERIFY(form.cbBold->isChecked());
        QVERIFY(!form.cbItalic->isChecked());
        QVERIFY(form.cbUnderline->isChecked());
        QVERIFY(Snapshot(form.WorkingCopy()).attrs == attrsOf(*Config));
        // Opening changes nothing.
        QCOMPARE(form.WorkingCopy().Fontname, QStringLiteral("Arial"));
        QCOMPARE(form.WorkingCopy().FontSize, 10);
    }

    void fontMissingFromTheListShowsMsSansSerif_data()
    {
        QTest::addColumn<QString>("stored");
        QTest::newRow("unknown name") << "No Such Font 123";
        QTest::newRow("empty name") << "";
    }

    void fontMissingFromTheListShowsMsSansSerif()
    {
        QFETCH(QString, stored);
        Config->Fontname = stored;
        TOptionsForm form;
        QCOMPARE(form.cbFont->currentText(), QStringLiteral("MS Sans Serif"));
        QCOMPARE(form.WorkingCopy().Fontname, stored);
    }

    void choosingAKindLoadsItsLook_data()
    {
        QTest::addColumn<int>("kind");
        QTest::addColumn<int>("background");
        QTest::addColumn<int>("foreground");
        QTest::addColumn<bool>("bold");
        QTest::newRow("Текущая ячейка") << int(ckSelCell) << 4 << 15 << false;
        QTest::newRow("Место взрыва метана") << int(ckBoom) << 9 << 11 << true;
        QTest::newRow("метана и пыли: colour not in the palette") << int(ckDust) << -1 << 0 << false;
        QTest::newRow("взрыва метана и пыли") << int(ckBoomDust) << -1 << 11 << true;
        QTest::newRow("Зона продуктов взрыва") << int(ckAfterFire) << 13 << 0 << false;
    }

    void choosingAKindLoadsItsLook()
    {
        QFETCH(int, kind);
        QFETCH(int, background);
        QFETCH(int, foreground);
        QFETCH(bool, bold);
        TOptionsForm form;
        const Attrs before = attrsOf(form.WorkingCopy());
        form.lbItems->setCurrentRow(kind);
        QCOMPARE(form.ColorGrid->BackgroundIndex(), background);
        QCOMPARE(form.ColorGrid->ForegroundIndex(), foreground);
        QCOMPARE(form.cbBold->isChecked(), bold);
        QCOMPARE(form.sgSample->CurrentRow(), kind + 1);
        QVERIFY(attrsOf(form.WorkingCopy()) == before);
    }

    void paletteAndStyleBoxesChangeTheChosenKindOnly()
    {
        TOptionsForm form;
        form.lbItems->setCurrentRow(ckSurf);
        clickPalette(form.ColorGrid, 9, Qt::LeftButton);    // red text
        clickPalette(form.ColorGrid, 4, Qt::RightButton);   // on navy
        form.cbItalic->click();
        form.cbUnderline->click();

        Attrs expected = attrsOf(*Config);
        expected[ckSurf] = {0x00800000, 0x000000FF, false, true, true};
        QVERIFY(attrsOf(form.WorkingCopy()) == expected);
        QCOMPARE(form.ColorGrid->ForegroundIndex(), 9);
        QCOMPARE(form.ColorGrid->BackgroundIndex(), 4);
        // Config waits for "&OK".
        QCOMPARE(Config->SurfCellAttr, TConfig::DefaultAttr(ckSurf));

        // The sample row of that kind shows it at once.
        const QImage sample = form.sgSample->grab().toImage();
        const QRect cell = form.sgSample->CellRect(2, ckSurf + 1);
        QCOMPARE(sample.pixelColor(cell.right() - 2, cell.center().y()), QColor(0, 0, 128));
    }

    void styleChangeKeepsAColourOutsideThePalette()
    {
        TOptionsForm form;
        form.lbItems->setCurrentRow(ckDust);
        form.cbBold->click();
        const TCellAttr dust = form.WorkingCopy().DustCellAttr;
        QCOMPARE(dust.Color, 0x00D8D800u);
        QCOMPARE(dust.FontColor, 0u);
        QVERIFY(dust.Bold);
    }

    void clickingASampleRowChoosesItsKind()
    {
        TOptionsForm form;
        form.show();
        QVERIFY(QTest::qWaitForWindowExposed(&form));
        const QRect row = form.sgSample->CellRect(2, ckWave + 1);
        QTest::mouseClick(form.sgSample, Qt::LeftButton, {}, row.center());
        QCOMPARE(form.lbItems->currentRow(), int(ckWave));
        QCOMPARE(form.sgSample->CurrentRow(), ckWave + 1);
        QCOMPARE(form.ColorGrid->BackgroundIndex(), 9);   // red
        QCOMPARE(form.ColorGrid->ForegroundIndex(), 0);   // black
        // Clicks on the header change nothing.
        QTest::mouseClick(form.sgSample, Qt::LeftButton, {}, form.sgSample->CellRect(2, 0).center());
        QCOMPARE(form.lbItems->currentRow(), int(ckWave));
    }

    void fontAndSizeResizeTheSample()
    {
        TOptionsForm form;
        form.show();
        QVERIFY(QTest::qWaitForWindowExposed(&form));
        const int rowAt8 = form.sgSample->RowHeight(1);
        QCOMPARE(form.sgSample->RowHeight(0), 2 * rowAt8);
        QCOMPARE(rowAt8, CellRowHeight(CellFont(QStringLiteral("MS Sans Serif"), 8), form.sgSample));

        form.edSize->setFocus();
        form.edSize->selectAll();
        QTest::keyClicks(form.edSize, QStringLiteral("1x6"));
        QCOMPARE(form.edSize->text(), QStringLiteral("16"));
        QCOMPARE(form.WorkingCopy().FontSize, 16);
        const int rowAt16 = form.sgSample->RowHeight(1);
        QCOMPARE(rowAt16, CellRowHeight(CellFont(QStringLiteral("MS Sans Serif"), 16), form.sgSample));
        QVERIFY(rowAt16 > rowAt8);

        // An empty field does not convert: the size stays.
        form.edSize->clear();
        QCOMPARE(form.WorkingCopy().FontSize, 16);

        const int serif = form.cbFont->findText(QStringLiteral("Times New Roman"));
        QVERIFY(serif >= 0);
        form.cbFont->setCurrentIndex(serif);
        QCOMPARE(form.WorkingCopy().Fontname, QStringLiteral("Times New Roman"));
        QCOMPARE(Config->Fontname, QStringLiteral("MS Sans Serif"));
    }

    void largeFontScrollsTheSampleToTheChosenKind()
    {
        Config->FontSize = 24;
        TOptionsForm form;
        form.show();
        QVERIFY(QTest::qWaitForWindowExposed(&form));
        auto *area = form.findChild<QScrollArea *>();
        QVERIFY(area);
        QVERIFY(area->verticalScrollBar()->maximum() > 0);
        form.lbItems->setCurrentRow(ckAfterFire);
        const QRect row = form.sgSample->CellRect(1, ckAfterFire + 1);
        const QPoint shown = form.sgSample->mapTo(area->viewport(), row.bottomLeft());
        QVERIFY(area->viewport()->rect().contains(shown));
    }

    void resetAnsweredNoThenYesThenCancel()
    {
        Config->Fontname = QStringLiteral("Arial");
        Config->FontSize = 12;
        Config->BoomCellAttr.Italic = true;
        const Snapshot before(*Config);
        TOptionsForm form;
        form.lbItems->setCurrentRow(ckBoom);
        form.cbUnderline->click();
        const Snapshot edited(form.WorkingCopy());

        AppTestHooks boxes;
        boxes.answers.enqueue(QMessageBox::No);
        form.btnReset->click();
        QCOMPARE(boxes.texts(),
                 QStringList{QStringLiteral("Установить все цвета и стили в соответствии со значениями по умолчанию")});
        QCOMPARE(boxes.boxes.value(0).icon, QMessageBox::Question);
        QCOMPARE(boxes.boxes.value(0).buttons, QMessageBox::Yes | QMessageBox::No);
        QCOMPARE(boxes.boxes.value(0).caption, QStringLiteral("Тарвел"));
        QVERIFY(Snapshot(form.WorkingCopy()) == edited);

        boxes.answers.enqueue(QMessageBox::Yes);
        form.btnReset->click();
        QCOMPARE(boxes.texts().size(), 2);
        const TConfig &work = form.WorkingCopy();
        QCOMPARE(work.Fontname, QStringLiteral("MS Sans Serif"));
        QCOMPARE(work.FontSize, 8);
        for (int k = 0; k < CellKindCount; ++k)
            QCOMPARE(work.Attr(k), TConfig::DefaultAttr(k));
        QCOMPARE(form.cbFont->currentText(), QStringLiteral("MS Sans Serif"));
        QCOMPARE(form.edSize->text(), QStringLiteral("8"));
        QVERIFY(form.cbBold->isChecked());        // "Место взрыва метана" reloaded: bold by default
        QVERIFY(!form.cbUnderline->isChecked());
        QCOMPARE(form.lbItems->currentRow(), int(ckBoom));

        form.btnCancel->click();
        QCOMPARE(form.result(), int(QDialog::Rejected));
        QVERIFY(Snapshot(*Config) == before);
        QCOMPARE(m_applied, 0);
    }

    void okCopiesTheDisplaySettingsAndAppliesThem()
    {
        TOptionsForm form;
        form.PageControl->setCurrentIndex(1);
        form.rbMPa->click();
        QCOMPARE(form.WorkingCopy().PressureMode, 1);
        QCOMPARE(Config->PressureMode, 0);
        QCOMPARE(form.edRecovery->value(), 2);
        form.edRecovery->setValue(0);
        QCOMPARE(form.edRecovery->text(), QStringLiteral("не делать"));
        QCOMPARE(Config->RecoveryMinutes, 2);
        form.PageControl->setCurrentIndex(0);
        form.lbItems->setCurrentRow(ckSelCell);
        form.cbBold->click();

        form.btnOK->click();
        QCOMPARE(form.result(), int(QDialog::Accepted));
        QCOMPARE(Config->PressureMode, 1);
        QCOMPARE(Config->RecoveryMinutes, 0);
        QVERIFY(Config->SelCellAttr.Bold);
        QCOMPARE(m_applied, 1);
        // Not display settings: untouched.
        QCOMPARE(Config->LastFiles, QStringList{QStringLiteral("/mine.mdf")});
        QCOMPARE(Config->Surname, QStringLiteral("Петров"));

        // And back to atmospheres.
        TOptionsForm again;
        QVERIFY(again.rbMPa->isChecked());
        QCOMPARE(again.edRecovery->value(), 0);
        again.rbAt->click();
        again.edRecovery->setValue(2);
        again.btnOK->click();
        QCOMPARE(Config->PressureMode, 0);
        QCOMPARE(Config->RecoveryMinutes, 2);
    }

    void helpGoesThroughTheHelpLayer()
    {
        TOptionsForm form;
        AppTestHooks boxes;
        form.btnHelp->click();
        // No help pages beside the test program: the box names the page of topic 18.
        QCOMPARE(boxes.texts().size(), 1);
        QVERIFY(boxes.texts().first().contains(QStringLiteral("topic-18.html")));
        QCOMPARE(form.result(), 0);   // the dialog stays open
    }

    void sampleTableLooksLikeEachKind()
    {
        Config->GasCellAttr = {0x00123456, 0x00FFFFFF, false, false, false};
        TOptionsForm form;
        form.show();
        QVERIFY(QTest::qWaitForWindowExposed(&form));
        const QString shots = qEnvironmentVariable("TARVEL_SCREENSHOT_DIR");
        if (!shots.isEmpty()) {
            form.grab().save(shots + QStringLiteral("/options-colours.png"));
            form.PageControl->setCurrentIndex(1);
            form.grab().save(shots + QStringLiteral("/options-view.png"));
            form.PageControl->setCurrentIndex(0);
        }
        const QImage sample = form.sgSample->grab().toImage();
        QCOMPARE(form.sgSample->CellRect(0, 0).width(), 18);
        QCOMPARE(form.sgSample->CellRect(1, 1).width(), 61);
        QCOMPARE(form.sgSample->CellRect(2, 1).width(), 360);
        for (int kind = 0; kind < CellKindCount; ++kind) {
            for (int column : {1, 2}) {
                const QRect cell = form.sgSample->CellRect(column, kind + 1);
                QCOMPARE(sample.pixelColor(cell.right() - 2, cell.top() + 2),
                         ToQColor(form.WorkingCopy().Attr(kind).Color));
                // Text in the kind's font colour: antialiased, so some pixel of the cell is
                // nearer to that colour than to the cell colour.
                const QColor ink = ToQColor(form.WorkingCopy().Attr(kind).FontColor);
                const QColor paper = ToQColor(form.WorkingCopy().Attr(kind).Color);
                auto distance = [](QColor a, QColor b) {
                    return qAbs(a.red() - b.red()) + qAbs(a.green() - b.green()) + qAbs(a.blue() - b.blue());
                };
                bool inked = false;
                for (int x = cell.left() + 5; x < cell.left() + 40 && !inked; ++x)
                    for (int y = cell.top(); y <= cell.bottom() && !inked; ++y) {
                        const QColor c = sample.pixelColor(x, y);
                        inked = distance(c, ink) < distance(c, paper);
                    }
                QVERIFY2(inked, qPrintable(QStringLiteral("kind %1 column %2").arg(kind).arg(column)));
            }
        }
        // Header cells in the fixed-cell colour with the raised frame.
        const QRect corner = form.sgSample->CellRect(0, 1);
        QCOMPARE(sample.pixelColor(corner.center()), form.sgSample->palette().color(QPalette::Button));
        QCOMPARE(sample.pixelColor(corner.topLeft()), QColor(255, 255, 255));
        QCOMPARE(sample.pixelColor(corner.right() + 1, corner.center().y()), QColor(128, 128, 128));
    }
};

QTEST_MAIN(TestTOptionsForm)
#include "tst_TOptionsForm.moc"
