#include "dialogs/TDxfImportForm.h"

#include "base/AppDialogs.h"
#include "base/Help.h"
#include "base/Utils.h"
#include "exchange/DxfDrawing.h"

#include <QCheckBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QLocale>
#include <QPushButton>
#include <QVBoxLayout>
#include <cmath>
#include <optional>

namespace {

// A number as typed: "," or "." for the decimal point; none when it does not read.
std::optional<double> Typed(QString text)
{
    text = text.trimmed().replace(u',', u'.');
    bool ok = false;
    const double v = text.toDouble(&ok);
    return ok && std::isfinite(v) ? std::optional<double>(v) : std::nullopt;
}

} // namespace

TDxfImportForm::TDxfImportForm(const QStringList &layers, const QStringList &ticked, QWidget *parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("frmDxfImport"));
    setWindowTitle(QStringLiteral("Импорт из DXF"));

    edTolerance = new QLineEdit(QLocale().toString(TDxfImportOptions().Tolerance));
    edNames = new QLineEdit;
    edNames->setPlaceholderText(QStringLiteral("не брать"));
    cbSplit = new QCheckBox(QStringLiteral("Делить полилинии в примыканиях линий"));
    cbSplit->setChecked(TDxfImportOptions().SplitAtJunctions);
    auto *form = new QFormLayout;
    form->addRow(QStringLiteral("Допуск слияния концов, м:"), edTolerance);
    form->addRow(QStringLiteral("Названия ветвей из надписей ближе, м:"), edNames);
    form->addRow(cbSplit);

    lbLayers = new QListWidget;
    for (const QString &name : layers) {
        auto *item = new QListWidgetItem(OneLineText(name), lbLayers);
        item->setFlags(Qt::ItemIsEnabled | Qt::ItemIsUserCheckable);
        item->setCheckState(ticked.contains(name) ? Qt::Checked : Qt::Unchecked);
        item->setData(Qt::UserRole, name);
    }
    auto *layersLabel = new QLabel(QStringLiteral("&Слои чертежа:"));
    layersLabel->setBuddy(lbLayers);

    QHBoxLayout *buttons = OkCancelRow(this, QStringLiteral("&ОК"), btnOK, btnCancel);
    btnHelp = new QPushButton(QStringLiteral("&Помощь"), this);
    btnHelp->setAutoDefault(false);
    buttons->addWidget(btnHelp);
    connect(btnOK, &QPushButton::clicked, this, &TDxfImportForm::accept);
    connect(btnCancel, &QPushButton::clicked, this, &QDialog::reject);
    connect(btnHelp, &QPushButton::clicked, this, [this] { ShowHelpTopic(this, HelpContext); });
    InstallHelpKey(this, HelpContext);

    auto *main = new QVBoxLayout(this);
    main->addLayout(form);
    main->addWidget(layersLabel);
    main->addWidget(lbLayers);
    main->addLayout(buttons);
}

bool TDxfImportForm::Execute(QWidget *parent, const TDxfDrawing &drawing, TDxfImportOptions &options)
{
    TDxfImportForm form(drawing.UsedLayers(), DxfNetwork::DefaultLayers(drawing), parent);
    if (form.exec() != QDialog::Accepted)
        return false;
    return form.Choices(options, nullptr);
}

bool TDxfImportForm::Choices(TDxfImportOptions &options, QString *problem) const
{
    auto fail = [problem](const QString &text) {
        if (problem)
            *problem = text;
        return false;
    };
    const auto tolerance = Typed(edTolerance->text());
    if (!tolerance || *tolerance <= 0 || *tolerance > 100)
        return fail(QStringLiteral("Допуск — число метров больше 0 и не больше 100"));
    std::optional<double> names = 0.0;
    if (!edNames->text().trimmed().isEmpty()) {
        names = Typed(edNames->text());
        if (!names || *names <= 0 || *names > 1000)
            return fail(QStringLiteral("Расстояние до надписей — число метров больше 0 и не больше 1000, или пусто"));
    }
    QStringList layers;
    for (int i = 0; i < lbLayers->count(); ++i)
        if (lbLayers->item(i)->checkState() == Qt::Checked)
            layers << lbLayers->item(i)->data(Qt::UserRole).toString();
    if (layers.isEmpty())
        return fail(QStringLiteral("Отметьте хотя бы один слой"));
    options.Tolerance = *tolerance;
    options.NamesDistance = *names;
    options.SplitAtJunctions = cbSplit->isChecked();
    options.Layers = layers;
    return true;
}

void TDxfImportForm::accept()
{
    TDxfImportOptions options;
    QString problem;
    if (!Choices(options, &problem)) {
        AppDialogs::ShowError(this, problem);
        return;
    }
    QDialog::accept();
}
