#include "model/MineTables.h"

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
    switch (oldCode) {
    case 0: return 0;   // "Чураковая"
    case 1: return 1;   // "Брусчатая"
    case 2: return 9;   // "Кирпичная"
    case 3: return 8;   // "Шлакоблочная"
    case 4: return 4;   // "Бетонная"
    case 5: return 13;  // "Парашютная"
    default: return 0;
    }
}

QString InfoBoxCaption() { return QStringLiteral("Информация об узле"); }

} // namespace MineTables
