#pragma once
// Mines for the scheme's tests, fitted into a 210 x 110 rectangle at one pixel per metre: frame
// nodes 901 at (-100, -50) and 902 at (100, 50) fix the extents; with the rotation centre at the
// origin and the view along Y, a node at (X, Z) is drawn at (105 + X, 55 - Z).
//
// The setup is a list of view settings, ';'-separated:
//   L #rrggbb [hidden] / P #rrggbb [hidden]   a seam / plan position
//   bN LK / bN PK                             branch N joins seam (plan position) K
//   bN gas1|gas2 KIND FROM TO                 a gassed zone
//   bN j POS [normal] [route]                 a stopping with its calculation marks
//   sel uN / sel bN / sel jI                  the current element (I: index among all stoppings)
//   flags 0xNNN / text N / nodes / invalid    ColorFlags, TextInfo, ShowUzels, no valid topology
//   pan DX / turn AX AZ                       the screen origin moved by DX pixels / the angles
// The current element is frame node 901 (which has no branch) unless the setup selects one.
#include "MineText.h"
#include "model/TBranch.h"
#include "model/TJumper.h"
#include "model/TLayer.h"
#include "model/TMine.h"
#include "model/TPLF.h"
#include "model/TUzel.h"
#include "schemes/TSchemeCanvas.h"

#include <QPoint>
#include <QString>
#include <QStringList>

namespace schemesetup {

inline const TSchemeRect kRect{0, 0, 210, 110};
inline const QPoint kOrigin(105, 55);

// Builds the mine (which should already show in a scheme) and applies the setup; returns the
// screen origin.
inline QPoint Apply(TMine &mine, const QString &text, const QString &setup)
{
    QPoint origin = kOrigin;
    minetext::Build(mine, QStringLiteral("u 901 -100 0 -50; u 902 100 0 50; ") + text);
    mine.SetTopologyValid(true);
    mine.SelectUzel(mine.Uzels().Find(901));
    for (const QString &item : setup.split(QLatin1Char(';'), Qt::SkipEmptyParts)) {
        const QStringList f = item.trimmed().split(QLatin1Char(' '), Qt::SkipEmptyParts);
        const QString &k = f[0];
        if (k == QLatin1String("L") || k == QLatin1String("P")) {
            TLayer *l = k == QLatin1String("L") ? new TLayer(&mine) : new TPLF(&mine);
            const quint32 rgb = f[1].mid(1).toUInt(nullptr, 16);
            l->SetColor(SchemeRgb(int(rgb >> 16), int(rgb >> 8 & 0xFF), int(rgb & 0xFF)));
            l->SetVisible(f.value(2) != QLatin1String("hidden"));
        } else if (k.startsWith(QLatin1Char('b'))) {
            TBranch *b = mine.Branches().Find(k.mid(1).toInt());
            if (f[1].startsWith(QLatin1Char('L')))
                b->SetLayerIndex(f[1].mid(1).toInt());
            else if (f[1].startsWith(QLatin1Char('P')))
                b->SetPLFIndex(f[1].mid(1).toInt());
            else if (f[1].startsWith(QLatin1String("gas"))) {
                const int zone = f[1].right(1).toInt();
                b->SetZone(zone, true);
                b->SetGasKind(zone, quint8(f[2].toInt()));
                b->SetZoneBound(2 * zone - 1, f[3].toFloat());
                b->SetZoneBound(2 * zone, f[4].toFloat());
            } else if (f[1] == QLatin1String("j")) {
                auto *j = new TJumper(b, f[2].toDouble());
                j->SetNormalHit(f.contains(QLatin1String("normal")));
                j->SetRouteHit(f.contains(QLatin1String("route")));
            }
        } else if (k == QLatin1String("sel")) {
            const int n = f[1].mid(1).toInt();
            if (f[1].startsWith(QLatin1Char('u')))
                mine.SelectUzel(mine.Uzels().Find(n));
            else if (f[1].startsWith(QLatin1Char('b')))
                mine.SelectBranch(mine.Branches().Find(n));
            else
                mine.SelectJumper(mine.Jumpers().Items(n));
        } else if (k == QLatin1String("flags")) {
            mine.SetColorFlags(quint16(f[1].toUInt(nullptr, 16)));
        } else if (k == QLatin1String("text")) {
            mine.SetTextInfo(quint8(f[1].toInt()));
        } else if (k == QLatin1String("nodes")) {
            mine.SetShowUzels(1);
        } else if (k == QLatin1String("turn")) {
            mine.SetAngles(f[1].toFloat(), f[2].toFloat());
        } else if (k == QLatin1String("pan")) {
            origin.rx() += f[1].toInt();
        }
    }
    if (setup.contains(QLatin1String("invalid")))
        mine.SetTopologyValid(false);
    return origin;
}

} // namespace schemesetup
