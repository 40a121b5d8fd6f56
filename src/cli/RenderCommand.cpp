#include "RenderCommand.h"

#include "AppError.h"
#include "checks/TMessageSink.h"
#include "checks/TTopologyCheck.h"
#include "model/TBranch.h"
#include "model/TMine.h"
#include "model/TUzel.h"
#include "model/Unset.h"
#include "SchemePicture.h"
#include "TerminalText.h"
#include "schemes/SchemeDrawing.h"
#include "schemes/TSchemeView.h"
#include "storage/TMineDocument.h"
#include "storage/FileErrors.h"
#include "storage/TSafeFile.h"

#include <QRegularExpression>
#include <cmath>
#include <cstdio>

namespace {

class StderrSink : public TMessageSink {
public:
    void ClearMessages() override {}
    void AddMessage(const QString &text, std::optional<TErrorInfo>) override
    {
        const QByteArray line = TerminalText::Escaped(text).toUtf8() + '\n';
        std::fwrite(line.constData(), 1, size_t(line.size()), stderr);
        ++m_count;
    }
    int MessageCount() const override { return m_count; }

private:
    int m_count = 0;
};

struct Options {
    QString file, out;
    int width = 1280, height = 800;
    float angleX = 0, angleZ = 0;
    float scale = 1;
    quint8 labels = 0;
    quint16 colors = 0;
    // --center: the element the view turns about instead of the middle of the network.
    bool center = false;
    bool centerBranch = false;
    qint32 centerNumber = 0;
};

// The same bounds as the window's bars; pictures up to 10,000 pixels a side.
constexpr int kMaxSide = 10000;

bool Number(const QString &text, double lo, double hi, double *value)
{
    bool ok = false;
    const double v = text.toDouble(&ok);
    if (!ok || !std::isfinite(v) || v < lo || v > hi)
        return false;
    *value = v;
    return true;
}

bool Parse(const ToolMain::TInvocation &in, Options *o, QString *problem)
{
    o->file = in.Operand(QStringLiteral("FILE"));
    o->out = in.Operand(QStringLiteral("OUT"));
    for (auto it = in.Options.begin(); it != in.Options.end(); ++it) {
        const QString &a = it.key();
        const QString &v = it.value();
        if (a == QLatin1String("--size")) {
            const auto m = QRegularExpression(QStringLiteral("^(\\d{1,5})x(\\d{1,5})$")).match(v);
            o->width = m.hasMatch() ? m.captured(1).toInt() : 0;
            o->height = m.hasMatch() ? m.captured(2).toInt() : 0;
            if (o->width < 1 || o->height < 1 || o->width > kMaxSide || o->height > kMaxSide) {
                *problem = QStringLiteral("--size takes WxH, each 1..%1").arg(kMaxSide);
                return false;
            }
        } else if (a == QLatin1String("--angles")) {
            const QStringList p = v.split(QLatin1Char(','));
            double ax = 0, az = 0;
            if (p.size() != 2 || !Number(p[0], -90, 90, &ax) || !Number(p[1], -180, 180, &az)) {
                *problem = QStringLiteral("--angles takes AX,AZ with AX in -90..90 and AZ in -180..180");
                return false;
            }
            o->angleX = float(ax);
            o->angleZ = float(az);
        } else if (a == QLatin1String("--scale")) {
            double s = 1;
            if (!Number(v, 1, 20, &s)) {
                *problem = QStringLiteral("--scale takes a number from 1 to 20");
                return false;
            }
            o->scale = float(s);
        } else if (a == QLatin1String("--labels")) {
            const QStringList kinds{QStringLiteral("none"), QStringLiteral("branches"), QStringLiteral("nodes")};
            if (!kinds.contains(v)) {
                *problem = QStringLiteral("--labels takes none, branches or nodes");
                return false;
            }
            o->labels = quint8(kinds.indexOf(v));
        } else if (a == QLatin1String("--colors")) {
            if (v == QLatin1String("seams"))
                o->colors = SchemeFlags::kLayerColors;
            else if (v == QLatin1String("plan"))
                o->colors = SchemeFlags::kPLFColors;
            else {
                *problem = QStringLiteral("--colors takes seams or plan");
                return false;
            }
        } else if (a == QLatin1String("--center")) {
            const bool branch = v.startsWith(QLatin1String("B:"), Qt::CaseInsensitive);
            bool ok = false;
            const qint32 number = (branch ? v.mid(2) : v).toInt(&ok);
            if (!ok || IsUnset(number)) {
                *problem = QStringLiteral("--center takes a node number N or a branch B:N");
                return false;
            }
            o->center = true;
            o->centerBranch = branch;
            o->centerNumber = number;
        }
    }
    return true;
}

} // namespace

int RenderCommand::Run(const ToolMain::TInvocation &in)
{
    Options o;
    QString problem;
    if (!Parse(in, &o, &problem))
        return ToolMain::Usage(problem);

    TMineDocument doc;
    ToolMain::LoadMine(doc, o.file);
    TMine &mine = *doc.Mine();
    StderrSink sink;
    TTopologyCheck check(mine, sink);
    if (!check.CheckTopology().Passed || !check.CheckCoordinates().Passed)
        return ToolMain::Finish(kCheckFailed);

    // The whole network, centred, as a first view of the window shows it; a picture of its own
    // has no current element to mark.
    TSchemeView view;
    view.SetDrawRect({0, 0, o.width, o.height});
    view.SetShowSelection(false);
    view.SetMine(&mine);
    if (o.center) {
        // Selecting the element makes it the point the view turns about, in the middle.
        if (o.centerBranch) {
            TBranch *b = mine.Branches().Find(o.centerNumber);
            if (!b)
                return ToolMain::Usage(QStringLiteral("--center: the mine has no branch %1").arg(o.centerNumber));
            mine.SelectBranch(b);
        } else {
            TUzel *n = mine.Uzels().Find(o.centerNumber);
            if (!n)
                return ToolMain::Usage(QStringLiteral("--center: the mine has no node %1").arg(o.centerNumber));
            mine.SelectUzel(n);
        }
    }
    mine.SetShowUzels(0);
    mine.SetTextInfo(o.labels);
    mine.SetColorFlags(o.colors);
    mine.SetAngles(o.angleX, o.angleZ);
    mine.SetScale(o.scale);

    const std::unique_ptr<TSafeFile> out = ToolMain::OpenOutput(o.out);
    try {
        // Standard output gets a PNG: it has no extension to tell.
        const auto format = SchemePicture::FormatOf(o.out);
        SchemePicture::Write(view, *out, format == SchemePicture::TFormat::Svg ? format : SchemePicture::TFormat::Png);
    } catch (const AppError &e) {
        if (!out->Failed())
            throw TFileError(o.out, e.message(), e.message(), true);
    }
    out->Commit();
    // The picture is in its file: the mine goes with the process.
    return ToolMain::Finish(kDrawn);
}
