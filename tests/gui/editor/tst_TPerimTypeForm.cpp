// The cross-section dialog: what it shows for a branch, what the user may type, the perimeter it
// works out, and what OK and Cancel leave in the branch.
#include "editor/TPerimTypeForm.h"
#include "model/TBranch.h"
#include "model/TMine.h"

#include <QButtonGroup>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QtTest>

class tst_TPerimTypeForm : public QObject {
    Q_OBJECT
private slots:
    void opensWithBranchValues();
    void emptySectionTakesFocus();
    void perimeterByShape_data();
    void perimeterByShape();
    void keysAdmitted();
    void okStoresCancelKeeps();
};

namespace {
TBranch *branch(TMine &mine, float section, int shape, int roughness)
{
    TBranch *b = mine.AddBranch(1, 1, 2, QString(), section);
    b->SetShape(quint8(shape));
    b->SetRoughness(quint8(roughness));
    mine.SetModified(false);
    return b;
}
} // namespace

void tst_TPerimTypeForm::opensWithBranchValues()
{
    TMine mine;
    TPerimTypeForm form(branch(mine, 4.0f, 1, 3));
    form.show();
    QVERIFY(QTest::qWaitForWindowExposed(&form));
    QCOMPARE(form.windowTitle(), QString("Сечение, периметр, шероховатость"));
    QCOMPARE(form.SEdit->text(), QString("4.0"));
    QCOMPARE(form.PerimEdit->text(), QString("7.7 м"));   // 3.84 * 2
    QVERIFY(form.PerimEdit->isReadOnly());
    QCOMPARE(form.SFormButtons->checkedId(), 1);
    QCOMPARE(form.SmoothButtons->checkedId(), 3);
    QCOMPARE(form.SFormButtons->button(2)->text(), QString("Трапециевидная"));
    QCOMPARE(form.SmoothButtons->button(4)->text(), QString("Повышенная шероховатость и стволы с армировкой"));
    QVERIFY(form.btnOK->isEnabled());
    QVERIFY(form.btnOK->isDefault());
}

void tst_TPerimTypeForm::emptySectionTakesFocus()
{
    TMine mine;
    TPerimTypeForm form(branch(mine, kUnsetReal, 0, 0));
    form.show();
    QApplication::setActiveWindow(&form);
    QVERIFY(QTest::qWaitForWindowActive(&form));
    QCOMPARE(form.SEdit->text(), QString());
    QCOMPARE(form.PerimEdit->text(), QString());
    QVERIFY(!form.btnOK->isEnabled());
    QVERIFY(form.SEdit->hasFocus());
    QVERIFY(IsUnset(form.Perimeter()));
}

void tst_TPerimTypeForm::perimeterByShape_data()
{
    QTest::addColumn<int>("shape");
    QTest::addColumn<QString>("perimeter");
    QTest::newRow("square") << 0 << "12.0 м";
    QTest::newRow("arch") << 1 << "11.5 м";
    QTest::newRow("trapezoid") << 2 << "12.5 м";
    QTest::newRow("round") << 3 << "10.7 м";
}

void tst_TPerimTypeForm::perimeterByShape()
{
    QFETCH(int, shape);
    QFETCH(QString, perimeter);
    TMine mine;
    TPerimTypeForm form(branch(mine, 9.0f, 0, 0));
    form.show();
    QVERIFY(QTest::qWaitForWindowExposed(&form));
    form.SFormButtons->button(shape)->click();
    QCOMPARE(form.PerimEdit->text(), perimeter);
}

void tst_TPerimTypeForm::keysAdmitted()
{
    TMine mine;
    TPerimTypeForm form(branch(mine, kUnsetReal, 0, 0));
    form.show();
    QVERIFY(QTest::qWaitForWindowExposed(&form));
    QTest::keyClicks(form.SEdit, "-a2x.5e");
    QCOMPARE(form.SEdit->text(), QString("2.5"));
    QVERIFY(form.btnOK->isEnabled());
    form.SEdit->setText(".");   // a lone separator does not convert
    QVERIFY(!form.btnOK->isEnabled());
    QCOMPARE(form.PerimEdit->text(), QString());
}

void tst_TPerimTypeForm::okStoresCancelKeeps()
{
    TMine mine;
    TBranch *b = branch(mine, 4.0f, 0, 0);
    {
        TPerimTypeForm form(b);
        form.show();
        QVERIFY(QTest::qWaitForWindowExposed(&form));
        form.SEdit->setText("16");
        form.SFormButtons->button(3)->click();
        form.SmoothButtons->button(2)->click();
        QTest::mouseClick(form.btnCancel, Qt::LeftButton);
        QCOMPARE(form.result(), int(QDialog::Rejected));
    }
    QCOMPARE(b->Section(), 4.0f);
    QCOMPARE(int(b->Shape()), 0);
    QCOMPARE(int(b->Roughness()), 0);
    QVERIFY(!mine.Modified());
    {
        TPerimTypeForm form(b);
        form.show();
        QVERIFY(QTest::qWaitForWindowExposed(&form));
        form.SEdit->setText("16");
        form.SFormButtons->button(3)->click();
        form.SmoothButtons->button(2)->click();
        QTest::mouseClick(form.btnOK, Qt::LeftButton);
        QCOMPARE(form.result(), int(QDialog::Accepted));
    }
    QCOMPARE(b->Section(), 16.0f);
    QCOMPARE(int(b->Shape()), 3);
    QCOMPARE(int(b->Roughness()), 2);
    QVERIFY(mine.Modified());
}

QTEST_MAIN(tst_TPerimTypeForm)
#include "tst_TPerimTypeForm.moc"
