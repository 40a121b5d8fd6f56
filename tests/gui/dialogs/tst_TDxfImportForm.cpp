// "Импорт из DXF": the layers listed and ticked as given, and what its fields come to as import
// options, or what is wrong with them.
#include "dialogs/TDxfImportForm.h"

#include <QCheckBox>
#include <QLineEdit>
#include <QListWidget>
#include <QtTest>

class tst_TDxfImportForm : public QObject {
    Q_OBJECT
private slots:
    void choices_data();
    void choices();
};

void tst_TDxfImportForm::choices_data()
{
    QTest::addColumn<QString>("tolerance");
    QTest::addColumn<QString>("names");
    QTest::addColumn<bool>("split");
    QTest::addColumn<int>("untick");   // row of the layer list to untick, -1 none
    QTest::addColumn<QString>("result");
    QTest::newRow("as offered") << "0,05" << "" << true << -1 << "0.05 0 split Штрек,Вентиляция";
    QTest::newRow("a point, names, no split, a layer less") << "0.5" << "7,5" << false << 1 << "0.5 7.5 whole Штрек";
    const QString tolerance = QStringLiteral("Допуск — число метров больше 0 и не больше 100");
    QTest::newRow("no tolerance") << "" << "" << true << -1 << tolerance;
    QTest::newRow("tolerance 0") << "0" << "" << true << -1 << tolerance;
    QTest::newRow("tolerance of 101 m") << "101" << "" << true << -1 << tolerance;
    QTest::newRow("names not a number") << "0,05" << "пять" << true << -1
                                        << "Расстояние до надписей — число метров больше 0 и не больше 1000, или пусто";
    QTest::newRow("no layer") << "0,05" << "" << true << -2 << "Отметьте хотя бы один слой";
}

void tst_TDxfImportForm::choices()
{
    QFETCH(QString, tolerance);
    QFETCH(QString, names);
    QFETCH(bool, split);
    QFETCH(int, untick);
    QFETCH(QString, result);
    // The stoppings' layer of an export comes unticked.
    TDxfImportForm form({"Штрек", "Вентиляция", "Перемычки"}, {"Штрек", "Вентиляция"});
    QCOMPARE(form.lbLayers->count(), 3);
    QCOMPARE(form.lbLayers->item(2)->checkState(), Qt::Unchecked);
    form.edTolerance->setText(tolerance);
    form.edNames->setText(names);
    form.cbSplit->setChecked(split);
    for (int i = 0; i < 3; ++i)
        if (untick == i || untick == -2)
            form.lbLayers->item(i)->setCheckState(Qt::Unchecked);
    TDxfImportOptions o;
    QString problem;
    if (!form.Choices(o, &problem)) {
        QCOMPARE(problem, result);
        return;
    }
    QCOMPARE(QStringLiteral("%1 %2 %3 %4").arg(o.Tolerance).arg(o.NamesDistance)
                 .arg(o.SplitAtJunctions ? "split" : "whole", o.Layers->join(u',')), result);
}

QTEST_MAIN(tst_TDxfImportForm)
#include "tst_TDxfImportForm.moc"
