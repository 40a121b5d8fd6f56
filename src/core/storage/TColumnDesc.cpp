#include "storage/TColumnDesc.h"

#include <QtGlobal>

namespace {

struct KindRow {
    const char16_t *Caption;
    const char16_t *UnitLine;
    bool Editable;
    qint32 Align;
    qint32 Decimals;
};

constexpr qint32 kLeft = 0;
constexpr qint32 kRight = 2;

const KindRow kKinds[TColumnDesc::kKindCount] = {
    {u"Узел", u"", true, kLeft, 0},
    {u"Коор. X", u"м", true, kRight, 1},
    {u"Коор. Y", u"м", true, kRight, 1},
    {u"Коор. Z", u"м", true, kRight, 1},
    {u"Ветвь", u"", true, kLeft, 0},
    {u"Нач.", u"узел", true, kLeft, 0},
    {u"Кон.", u"узел", true, kLeft, 0},
    {u"Длина", u"м", false, kRight, 1},
    {u"Сечение", u"м2", true, kRight, 1},
    {u"Периметр", u"м", true, kRight, 1},
    {u"Объем", u"м3", false, kRight, 1},
    {u"Коэф.", u"объема", true, kRight, 2},
    {u"Доп.объем", u"м3", true, kRight, 1},
    {u"Угол", u"град.", false, kRight, 1},
    {u"Комментарий", u"", true, kLeft, 0},
    {u"R", u"km", true, kLeft, 7},
    {u"Люди", u"", false, kLeft, 0},
    {u"Название", u"выработки", true, kLeft, 0},
    {u"Позиция", u"ПЛА", false, kLeft, 0},
};

} // namespace

void TColumnDesc::FillTexts()
{
    Q_ASSERT(Kind <= kLastKind);
    const KindRow &row = kKinds[Kind <= kLastKind ? Kind : 0];
    Caption = QString::fromUtf16(row.Caption);
    UnitLine = QString::fromUtf16(row.UnitLine);
    Editable = row.Editable;
    Align = row.Align;
    Decimals = row.Decimals;
}
