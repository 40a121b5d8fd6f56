#include "exchange/JsonReals.h"

#include <QString>
#include <cmath>
#include <cstring>
#include <limits>

namespace JsonReals {

namespace {

template<typename Real, typename Bits> QByteArray Text(Real v)
{
    if (std::isinf(v))
        return v > 0 ? QByteArray("Infinity") : QByteArray("-Infinity");
    Bits bits, quiet;
    const Real canonical = std::numeric_limits<Real>::quiet_NaN();
    std::memcpy(&bits, &v, sizeof bits);
    std::memcpy(&quiet, &canonical, sizeof quiet);
    if (bits == quiet)
        return QByteArray("NaN");
    return "NaN:0x" + QByteArray::number(bits, 16).toUpper().rightJustified(2 * sizeof(Bits), '0');
}

template<typename Real, typename Bits> bool Read(QStringView text, Real &v)
{
    if (text == u"Infinity" || text == u"-Infinity") {
        v = text.startsWith(u'-') ? -std::numeric_limits<Real>::infinity() : std::numeric_limits<Real>::infinity();
        return true;
    }
    if (text == u"NaN") {
        v = std::numeric_limits<Real>::quiet_NaN();
        return true;
    }
    const QStringView prefix = u"NaN:0x";
    if (!text.startsWith(prefix) || text.size() != prefix.size() + qsizetype(2 * sizeof(Bits)))
        return false;
    bool ok = false;
    const Bits bits = Bits(text.mid(prefix.size()).toULongLong(&ok, 16));
    if (!ok || text.mid(prefix.size()).startsWith(u'+') || text.mid(prefix.size()).startsWith(u'-'))
        return false;
    Real r;
    std::memcpy(&r, &bits, sizeof r);
    if (!std::isnan(r))
        return false;
    v = r;
    return true;
}

} // namespace

QByteArray NonFiniteText(float v) { return Text<float, quint32>(v); }
QByteArray NonFiniteText(double v) { return Text<double, quint64>(v); }
bool ReadNonFinite(QStringView text, float &v) { return Read<float, quint32>(text, v); }
bool ReadNonFinite(QStringView text, double &v) { return Read<double, quint64>(text, v); }

} // namespace JsonReals
