// The find dialog: its parameters in the document's column order, the values it lists and
// when it may close, and the parameter it remembers.
#include "MineText.h"
#include "dialogs/TFindForm.h"
#include "model/TBranch.h"
#include "model/TMine.h"
#include "storage/TMineDocument.h"

#include <QComboBox>
#include <QLineEdit>
#include <QListView>
#include <QPushButton>
#include <QTabWidget>
#include <QtTest>
#include <algorithm>

class tst_TFindForm : public QObject {
    Q_OBJECT
private slots:
    void init()
    {
        TFindForm::SetRememberedKind(TFindForm::Uzels, -1);
        TFindForm::SetRememberedKind(TFindForm::Branches, -1);
    }
    void parametersFollowColumnOrder();
    void commentsListAndChoose();
    void nothingToFind();
    void typingSelectsAndParameterRemembered();
    void hugeCommentShownCut();
};

namespace {

void Build(TMineDocument &doc)
{
    minetext::Build(*doc.Mine(), "u 1 0 0 0; u 2 3 4 0; u 3 3 4 12;"
                                 "b 10 1 2 4 \"Штрек\"; b 7 2 3 - \"\"; b 12 1 3 2.5 \"Ствол\"");
    doc.Mine()->ResolveIncidence();
}

QStringList Items(const QComboBox *box)
{
    QStringList items;
    for (int i = 0; i < box->count(); ++i)
        items << box->itemText(i);
    return items;
}

// Typing as the keyboard does it, letters of any alphabet.
void Type(QWidget *widget, const QString &text)
{
    for (const QChar c : text) {
        QKeyEvent press(QEvent::KeyPress, Qt::Key_unknown, Qt::NoModifier, QString(c));
        QApplication::sendEvent(widget, &press);
    }
}

QStringList Listed(const TFindForm &form)
{
    QStringList texts;
    for (const TFindValue &v : form.Values())
        texts << v.Text;
    return texts;
}

} // namespace

void tst_TFindForm::parametersFollowColumnOrder()
{
    TMineDocument doc;
    Build(doc);
    // The user dragged "Длина" (kind 7) to the front.
    TBranchColumns columns = doc.BranchColumns();
    std::rotate(columns.begin(), columns.begin() + 3, columns.begin() + 4);
    doc.SetBranchColumns(columns);

    TFindForm form(doc, TFindForm::Branches);
    QCOMPARE(form.windowTitle(), QString("Найти"));
    QVERIFY(!form.PageControl->isTabVisible(0));
    QVERIFY(form.PageControl->isTabVisible(1));
    QCOMPARE(form.PageControl->tabText(1), QString("Ветвь"));
    const QStringList params = Items(form.cbParams);
    QCOMPARE(params.size(), 15);   // hidden columns too
    QCOMPARE(params.first(), QString("Длина"));
    QCOMPARE(params.mid(1, 3), (QStringList{"Ветвь", "Нач.", "Кон."}));
    QCOMPARE(form.cbParams->currentIndex(), 0);
    QCOMPARE(Listed(form), (QStringList{"12.0    <ветвь 7>", "13.0    <ветвь 12>", "5.0    <ветвь 10>"}));

    TFindForm nodes(doc, TFindForm::Uzels);
    QVERIFY(nodes.PageControl->isTabVisible(0) && !nodes.PageControl->isTabVisible(1));
    QCOMPARE(Items(nodes.cbParams), (QStringList{"Узел", "Коор. X", "Коор. Y", "Коор. Z"}));
}

void tst_TFindForm::commentsListAndChoose()
{
    TMineDocument doc;
    Build(doc);
    TFindForm form(doc, TFindForm::Branches);
    form.show();
    QVERIFY(QTest::qWaitForWindowExposed(&form));
    form.cbParams->setCurrentIndex(form.cbParams->findText("Комментарий"));
    QCOMPARE(Listed(form), (QStringList{"Ствол", "Штрек"}));
    QVERIFY(form.btnOK->isEnabled() && form.lbValues->isEnabled());

    // Without a selection OK does nothing; a double click on a value chooses its branch.
    QTest::mouseClick(form.btnOK, Qt::LeftButton);
    QVERIFY(form.isVisible());
    const QModelIndex second = form.lbValues->model()->index(1, 0);
    const QPoint at = form.lbValues->visualRect(second).center();
    QTest::mouseClick(form.lbValues->viewport(), Qt::LeftButton, {}, at);
    QTest::mouseDClick(form.lbValues->viewport(), Qt::LeftButton, {}, at);
    QVERIFY(!form.isVisible());
    QCOMPARE(form.result(), int(QDialog::Accepted));
    QCOMPARE(form.Result(), 0);   // "Штрек" is branch 10, the first of the list
}

void tst_TFindForm::nothingToFind()
{
    TMineDocument doc;
    TFindForm form(doc, TFindForm::Branches);
    form.show();
    QVERIFY(form.Values().empty());
    QVERIFY(!form.lbValues->isEnabled());
    QVERIFY(!form.btnOK->isEnabled());
    QCOMPARE(form.edValue->text(), QString("элементы не найдены"));
    QTest::mouseClick(form.btnCancel, Qt::LeftButton);
    QCOMPARE(form.result(), int(QDialog::Rejected));
    QCOMPARE(form.Result(), -1);
}

void tst_TFindForm::typingSelectsAndParameterRemembered()
{
    TMineDocument doc;
    Build(doc);
    {
        TFindForm form(doc, TFindForm::Branches);
        form.show();
        form.cbParams->setCurrentIndex(form.cbParams->findText("Комментарий"));
        Type(form.edValue, "шТ");
        QCOMPARE(form.SelectedValue(), 1);
        Type(form.edValue, "x");
        QCOMPARE(form.SelectedValue(), -1);
        form.TryAccept();
        QVERIFY(form.isVisible());
        form.edValue->clear();
        Type(form.edValue, "Ств");
        QTest::keyClick(form.edValue, Qt::Key_Return);
        QVERIFY(!form.isVisible());
        QCOMPARE(form.Result(), 2);
    }
    // The next find on branches starts with the comment again; the nodes' page with its first.
    TFindForm again(doc, TFindForm::Branches);
    QCOMPARE(again.cbParams->currentText(), QString("Комментарий"));
    TFindForm nodes(doc, TFindForm::Uzels);
    QCOMPARE(nodes.cbParams->currentIndex(), 0);
}

void tst_TFindForm::hugeCommentShownCut()
{
    // Laid out whole, ten million characters held the dialog up for half a minute.
    TMineDocument doc;
    Build(doc);
    doc.Mine()->Branches().Items(1)->SetComment(QString(10000000, QChar(u'ж')));
    TFindForm form(doc, TFindForm::Branches);
    form.show();
    form.cbParams->setCurrentIndex(form.cbParams->findText("Комментарий"));
    QCOMPARE(form.Values().size(), size_t(2));   // it, "Ствол"
    form.SelectValue(0);
    const QString shown = form.lbValues->model()->index(0, 0).data().toString();
    QCOMPARE(shown, QString(1000, QChar(u'ж')) + u'…');
    QCOMPARE(form.edValue->text(), shown);
    form.TryAccept();
    QCOMPARE(form.Result(), 0);
}

QTEST_MAIN(tst_TFindForm)
#include "tst_TFindForm.moc"
