// The sample mine of examples/sample-mine.mdf, written through the program's own save path:
//   make-sample-mine OUT.mdf
// A small two-level mine: a main and a ventilation shaft from the surface; on each level
// (seam k5 at -100 m, seam l3 at -250 m) a haulage drift, a ventilation drift and the cross-cuts
// and faces between them, a pump chamber and a locomotive depot by the shaft; an incline and a
// travelling way between the levels; a conveyor drift on the lower level and a dead-end heading
// on the upper one. Everything below is fixed data, so the output is the same byte for byte on
// every run (a test checks the committed file against it).
#include "AppError.h"
#include "model/TBranch.h"
#include "model/TJumper.h"
#include "model/TLayer.h"
#include "model/TMine.h"
#include "model/TPLF.h"
#include "model/TPeopleInfo.h"
#include "model/TUzel.h"
#include "storage/TMineDocument.h"
#include "storage/TMineFile.h"

#include <QCoreApplication>
#include <cmath>
#include <cstdio>

namespace {

enum Shape : quint8 { Square = 0, Arched = 1, Trapezoid = 2, Round = 3 };

struct Builder {
    TMineDocument &Doc;
    TMine &Mine;
    int NextBranch = 1;

    TUzel *Node(qint32 number, float x, float y, float z, bool surface = false)
    {
        TUzel *u = Mine.AddUzel(number, x, y, z);
        u->SetSurface(surface);
        return u;
    }

    // A working between two nodes; its resistance from a friction factor, perimeter and length
    // (R = alpha * P * L / S^3, kmu), rounded to keep the sample readable.
    TBranch *Working(qint32 from, qint32 to, float section, quint8 shape, const QString &comment,
                     const QString &name, int seam, int plan, double alpha = 0.0012)
    {
        TBranch *b = Mine.AddBranch(NextBranch++, from, to, comment, section);
        b->SetShape(shape);
        b->SetRoughness(shape == Round ? 0 : 2);
        b->SetName(name);
        b->SetLayerIndex(seam);
        b->SetPLFIndex(plan);
        const TUzel *a = Mine.Uzels().Find(from);
        const TUzel *c = Mine.Uzels().Find(to);
        const double dx = a->X() - c->X(), dy = a->Y() - c->Y(), dz = a->Z() - c->Z();
        const double length = std::sqrt(dx * dx + dy * dy + dz * dz);
        const double r = alpha * b->Perimeter() * length / (double(section) * section * section);
        b->SetResistance(std::round(r * 1e6) / 1e6);
        return b;
    }

    void Stopping(TBranch *b, const QString &caption, quint8 material, double position, double thickness,
                  double breakPressure, quint8 doors, quint8 opening = 0, double openingArea = 0)
    {
        TJumper *j = new TJumper(b);
        j->SetCaption(caption);
        j->SetMaterial(material);
        j->SetPosition(position);
        j->SetThickness(thickness);
        j->SetBreakPressure(breakPressure);
        j->SetDoors(doors);
        j->SetOpening(opening);
        if (opening == 4)
            j->SetOpeningArea(openingArea);
    }

    void Person(TBranch *b, double position, qint32 tab, const QString &name, qint32 site, const QString &job)
    {
        TPeopleInfo *p = new TPeopleInfo(b);
        p->SetPosition(position);
        p->SetTabNumber(tab);
        p->SetFullName(name);
        p->SetSite(site);
        p->SetJobTitle(job);
    }
};

void Group(TLayer *g, const QString &name, quint32 color)
{
    g->SetName(name);
    g->SetColor(color);
}

void BuildMine(TMineDocument &doc)
{
    TMine &m = *doc.Mine();
    Builder b{doc, m};
    m.SetTitle(QStringLiteral("Шахта «Восточная» (учебный пример)"));
    m.SetTemperature(22);
    m.SetPressure(1.02f);
    doc.SetNotes({QStringLiteral("Учебная схема вентиляции: два горизонта, главный и вентиляционный стволы."),
                  QStringLiteral("Координаты в метрах, отметка Z от уровня моря.")});

    Group(new TLayer(&m), QStringLiteral("Пласт k5"), 0x0000A5FF);   // orange
    Group(new TLayer(&m), QStringLiteral("Пласт l3"), 0x0032CD32);   // green
    Group(new TPLF(&m), QStringLiteral("Позиция 1. Стволы и околоствольный двор"), 0x000000FF);
    Group(new TPLF(&m), QStringLiteral("Позиция 2. Горизонт -100 м"), 0x00FF0000);
    Group(new TPLF(&m), QStringLiteral("Позиция 3. Горизонт -250 м"), 0x00800080);
    Group(new TPLF(&m), QStringLiteral("Позиция 4. Уклонное поле"), 0x00008080);

    // Surface: the main shaft's collar and the fan drift's mouth. The ventilation shaft's collar
    // joins the shaft to the fan drift, so it is a junction of two workings, not a surface node
    // (a surface node stands at the end of exactly one working).
    b.Node(1, 0, 0, 152.0f, true);
    b.Node(2, 1200, 250, 166.5f);
    b.Node(3, 1235, 262, 167.0f, true);

    struct Level {
        int Base;       // node numbers Base+0..; haulage H_i = Base+i, ventilation V_j = Base+20+j
        float Z;
        int Seam, Plan;
        const char16_t *Horizon;
    };
    const Level levels[2] = {{100, -100.0f, 0, 1, u"-100"}, {200, -250.0f, 1, 2, u"-250"}};

    for (const Level &l : levels) {
        for (int i = 0; i <= 12; ++i)
            b.Node(l.Base + i, 100.0f * i, 0.0f, l.Z + 0.4f * i); // drifts rise gently to the field
        for (int j = 0; j <= 6; ++j)
            b.Node(l.Base + 20 + j, 200.0f * j, 250.0f, l.Z + 14.0f + 0.8f * j);
        b.Node(l.Base + 40, 35.0f, -45.0f, l.Z - 1.5f);   // pump chamber
        b.Node(l.Base + 41, 75.0f, -30.0f, l.Z - 0.5f);   // depot
    }
    for (const Level &l : levels) {
        const QString hz = QString::fromUtf16(l.Horizon);
        for (int i = 0; i < 12; ++i)
            b.Working(l.Base + i, l.Base + i + 1, 12.8f, Arched,
                      QStringLiteral("Главный откаточный штрек гор. %1 м, пикет %2").arg(hz).arg(i + 1),
                      QStringLiteral("Откаточный штрек %1").arg(hz), l.Seam, i < 2 ? 0 : l.Plan);
        for (int j = 0; j < 6; ++j)
            b.Working(l.Base + 20 + j, l.Base + 21 + j, 9.6f, Trapezoid,
                      QStringLiteral("Вентиляционный штрек гор. %1 м").arg(hz),
                      QStringLiteral("Вентиляционный штрек %1").arg(hz), l.Seam, l.Plan);
        for (int j = 0; j <= 6; ++j) {
            const bool face = j == 3 || j == 5;
            b.Working(l.Base + 2 * j, l.Base + 20 + j, face ? 6.5f : 8.4f, face ? Square : Arched,
                      face ? QStringLiteral("Лава %1-%2, очистной забой").arg(l.Seam + 1).arg(j)
                           : QStringLiteral("Вентиляционная сбойка №%1").arg(j + 1),
                      face ? QStringLiteral("Лава %1-%2").arg(l.Seam + 1).arg(j) : QStringLiteral("Сбойка"),
                      l.Seam, l.Plan, face ? 0.0025 : 0.0012);
        }
        b.Working(l.Base, l.Base + 40, 20.0f, Arched, QStringLiteral("Ходок к насосной камере"),
                  QStringLiteral("Насосная камера гор. %1").arg(hz), l.Seam, 0);
        b.Working(l.Base + 40, l.Base + 41, 18.5f, Arched, QStringLiteral("Обходная выработка"),
                  QStringLiteral("Околоствольный двор"), l.Seam, 0);
        b.Working(l.Base + 41, l.Base + 1, 22.0f, Arched, QStringLiteral("Электровозное депо"),
                  QStringLiteral("Депо гор. %1").arg(hz), l.Seam, 0);
    }

    // Shafts: the main shaft takes fresh air down, the ventilation shaft returns it to the fan.
    TBranch *mainShaft = b.Working(1, 100, 28.3f, Round, QStringLiteral("Главный ствол, участок до гор. -100 м"),
                                   QStringLiteral("Ствол главный"), -1, 0, 0.0008);
    b.Working(100, 200, 28.3f, Round, QStringLiteral("Главный ствол, участок до гор. -250 м"),
              QStringLiteral("Ствол главный"), -1, 0, 0.0008);
    b.Working(226, 126, 19.6f, Round, QStringLiteral("Вентиляционный ствол, нижний участок"),
              QStringLiteral("Ствол вентиляционный"), -1, 0, 0.0009);
    b.Working(126, 2, 19.6f, Round, QStringLiteral("Вентиляционный ствол, верхний участок"),
                                   QStringLiteral("Ствол вентиляционный"), -1, 0, 0.0009);
    TBranch *fanDrift = b.Working(2, 3, 7.0f, Square, QStringLiteral("Канал вентилятора главного проветривания"),
                                  QStringLiteral("Канал ВГП"), -1, 0, 0.0015);

    // The incline and the travelling way between the levels, joined by two cross-cuts.
    b.Node(301, 600, -60, -140.0f);
    b.Node(302, 600, -120, -190.0f);
    b.Node(311, 650, -60, -139.5f);
    b.Node(312, 650, -120, -189.5f);
    TBranch *incline = nullptr;
    const qint32 inclineNodes[] = {106, 301, 302, 206};
    for (int k = 0; k < 3; ++k) {
        TBranch *w = b.Working(inclineNodes[k], inclineNodes[k + 1], 11.2f, Arched,
                               QStringLiteral("Грузовой уклон, звено %1").arg(k + 1),
                               QStringLiteral("Уклон №1"), -1, 3);
        if (k == 1)
            incline = w;
    }
    const qint32 wayNodes[] = {107, 311, 312, 207};
    TBranch *way = nullptr;
    for (int k = 0; k < 3; ++k) {
        TBranch *w = b.Working(wayNodes[k], wayNodes[k + 1], 8.1f, Arched,
                               QStringLiteral("Людской ходок, звено %1").arg(k + 1),
                               QStringLiteral("Ходок людской №1"), -1, 3);
        if (k == 0)
            way = w;
    }
    TBranch *crossUpper = b.Working(301, 311, 6.0f, Square, QStringLiteral("Сбойка между уклоном и ходком"),
                                    QStringLiteral("Сбойка уклонная"), -1, 3);
    b.Working(302, 312, 6.0f, Square, QStringLiteral("Сбойка между уклоном и ходком"),
              QStringLiteral("Сбойка уклонная"), -1, 3);

    // Conveyor drift of the lower level.
    const float conveyorX[] = {300, 500, 700, 900};
    for (int k = 0; k < 4; ++k)
        b.Node(250 + k, conveyorX[k], 120.0f, -246.0f + 1.2f * k);
    for (int k = 0; k < 3; ++k)
        b.Working(250 + k, 251 + k, 14.5f, Arched, QStringLiteral("Конвейерный штрек пласта l3"),
                  QStringLiteral("Конвейерный штрек"), 1, 2);
    b.Working(203, 250, 10.0f, Arched, QStringLiteral("Конвейерный квершлаг"), QStringLiteral("Квершлаг №1"), 1, 2);
    TBranch *conveyorEnd = b.Working(253, 209, 10.0f, Arched, QStringLiteral("Конвейерный квершлаг"),
                                     QStringLiteral("Квершлаг №2"), 1, 2);
    b.Working(252, 223, 7.2f, Trapezoid, QStringLiteral("Печь на вентиляционный штрек"),
              QStringLiteral("Печь №3"), 1, 2);

    // A dead-end heading driven on from the upper ventilation drift.
    b.Node(130, 1300, 262, -84.0f);
    b.Node(131, 1400, 270, -83.0f);
    b.Node(132, 1480, 276, -82.2f);
    b.Working(126, 130, 8.0f, Arched, QStringLiteral("Подготовительный штрек, проветривание ВМП"),
              QStringLiteral("Тупиковая выработка"), 0, 1);
    b.Working(130, 131, 8.0f, Arched, QStringLiteral("Подготовительный штрек"), QStringLiteral("Тупиковая выработка"), 0, 1);
    TBranch *heading = b.Working(131, 132, 8.0f, Arched, QStringLiteral("Забой подготовительного штрека"),
                                 QStringLiteral("Тупиковая выработка"), 0, 1);

    // Stoppings of several materials.
    auto workingAt = [&](qint32 from, qint32 to) -> TBranch * {
        for (TBranch *w : m.Branches())
            if (w->StartNumber() == from && w->EndNumber() == to)
                return w;
        throw AppError(QStringLiteral("no working %1-%2").arg(from).arg(to));
    };
    b.Stopping(workingAt(100, 120), QStringLiteral("П-1"), 4, 0.5, 0.5, 0.3, 2);        // concrete, double doors
    b.Stopping(workingAt(102, 121), QStringLiteral("П-2"), 9, 0.4, 0.38, 0.25, 1);      // brick
    b.Stopping(workingAt(108, 124), QStringLiteral("П-3"), 8, 0.5, 0.4, 0.2, 0);        // cinder block
    b.Stopping(workingAt(200, 220), QStringLiteral("П-4"), 5, 0.5, 0.6, 0.5, 2);        // reinforced concrete
    b.Stopping(workingAt(212, 226), QStringLiteral("П-5"), 9, 0.3, 0.38, 0.25, 0, 4, 0.6);
    b.Stopping(crossUpper, QStringLiteral("П-6"), 2, 0.5, 0.05, 0.02, 1);               // planks
    b.Stopping(fanDrift, QStringLiteral("Ляда"), 16, 0.2, 0.1, 0.05, 0, 1);            // prefabricated
    b.Stopping(heading, QStringLiteral("Парус"), 11, 0.9, 0.002, 0.0, 0);               // sail
    b.Stopping(workingAt(204, 222), QStringLiteral("П-7"), 4, 0.25, 0.5, 0.3, 0);
    b.Stopping(workingAt(204, 222), QStringLiteral("П-8"), 9, 0.75, 0.38, 0.25, 1);

    // People at work.
    TBranch *face = workingAt(106, 123);
    b.Person(face, 0.35, 1204, QStringLiteral("Кузнецов Алексей Петрович"), 3, QStringLiteral("Горнорабочий очистного забоя"));
    b.Person(face, 0.6, 1187, QStringLiteral("Смирнов Олег Иванович"), 3, QStringLiteral("Машинист комбайна"));
    b.Person(heading, 0.8, 2051, QStringLiteral("Волков Дмитрий Сергеевич"), 5, QStringLiteral("Проходчик"));
    b.Person(incline, 0.5, 3310, QStringLiteral("Морозова Анна Викторовна"), 7, QStringLiteral("Машинист подъемной установки"));
    b.Person(way, 0.1, 1002, QStringLiteral("Попов Игорь Николаевич"), 1, QStringLiteral("Горный мастер"));
    b.Person(conveyorEnd, 0.5, 4120, QStringLiteral("Лебедев Павел Андреевич"), 4, QStringLiteral("Электрослесарь"));
    b.Person(mainShaft, 0.95, 5007, QStringLiteral("Соколов Виктор Ильич"), 0, QStringLiteral("Стволовой"));

    // Gas zone along the upper face.
    TBranch *upperFace = workingAt(106, 123);
    upperFace->SetGasKind(1, 1);
    upperFace->SetZone(1, true);
    upperFace->SetZoneBound(1, 20.0f);
    upperFace->SetZoneBound(2, 180.0f);
}

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments();
    if (args.size() != 2) {
        std::fputs("usage: make-sample-mine OUT.mdf\n", stderr);
        return 64;
    }
    try {
        TMineDocument doc;
        BuildMine(doc);
        TMineFile::Save(doc, args[1]);
    } catch (const AppError &e) {
        std::fprintf(stderr, "%s\n", e.what());
        return 2;
    }
    return 0;
}
