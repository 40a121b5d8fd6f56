#include "model/MineTables.h"

#include <iterator>

namespace MineTables {
namespace {

const char *const kMaterials[kMaterialCount] = {
    "Чураковая", "Брусчатая", "Дощатая", "Щитовая", "Бетонная", "Железобетонная",
    "Углебетонная", "Бетонитовая", "Шлакоблочная", "Кирпичная", "Каменная", "Парусная",
    "Брезентовая", "Парашютная", "КПБ", "Гипсовая", "Комплектная", "Пластмассовая",
    "Насыпная", "Водоналивная", "Шпренгельная"};

const char *const kOpenings[kOpeningCount] = {
    "Нет", "Один 0.8 м2", "Один 1.0 м2", "Два по 0.8 м2", "Произвольный"};

const char *const kDoors[kDoorCount] = {"Нет", "Одинарные", "Двойные"};

const char *const kShapes[kShapeCount] = {"Квадратная", "Арочная", "Трапециевидная", "Круглая"};

const float kPerimeterFactors[kShapeCount] = {4.0f, 3.84f, 4.16f, 3.56f};

QString Pick(const char *const *table, int count, int index)
{
    if (index < 0 || index >= count)
        return QString();
    return QString::fromUtf8(table[index]);
}

} // namespace

QString MaterialName(int index) { return Pick(kMaterials, kMaterialCount, index); }
QString OpeningName(int index) { return Pick(kOpenings, kOpeningCount, index); }
QString DoorName(int index) { return Pick(kDoors, kDoorCount, index); }
QString ShapeName(int index) { return Pick(kShapes, kShapeCount, index); }

float ShapePerimeterFactor(int shape)
{
    if (shape < 0 || shape >= kShapeCount)
        shape = kShapeCount - 1;
    return kPerimeterFactors[shape];
}

int MapOldMaterial(int oldCode)
{
    // Old codes 0..5: "Чураковая", "Брусчатая", "Кирпичная", "Шлакоблочная", "Бетонная",
    // "Парашютная"; anything else was the first.
    static constexpr int kCodes[] = {0, 1, 9, 8, 4, 13};
    return oldCode >= 0 && oldCode < int(std::size(kCodes)) ? kCodes[oldCode] : 0;
}

QString InfoBoxCaption() { return QStringLiteral("Информация об узле"); }

} // namespace MineTables
