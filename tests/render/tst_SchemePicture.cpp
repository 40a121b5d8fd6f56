// The scheme as pixels and as a file: the colours the picture really gets, the image canvas's own
// lines and labels against plain rules and QPainter, and the PNG and SVG files.
#include "SchemeSetup.h"
#include "PngWriter.h"
#include "SchemePicture.h"
#include "TImageSchemeCanvas.h"
#include "schemes/TSchemeView.h"

#include <QBuffer>
#include <QPainter>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QXmlStreamReader>
#include <QtTest>

namespace {

// A view showing a mine of SchemeSetup.h, drawn as the test setup says.
struct Picture {
    TSchemeView view;   // outlives the mine, as the control does
    TMine mine;

    Picture(const QString &text, const QString &setup)
    {
        view.SetDrawRect(schemesetup::kRect);
        view.SetMine(&mine);
        const QPoint origin = schemesetup::Apply(mine, text, setup);
        view.SetRotationCenter(0, 0, 0);
        mine.ProjectNodes();
        view.SetScreenOrigin(origin);
    }
};

const char kLine[] = "u 1 -50 0 0; u 2 50 0 0; b 1 1 2";   // (55,55)-(155,55)

// The image canvas's line rule, pixel by pixel, without any clipping arithmetic.
void ReferenceLine(QImage &image, const QLine &l, const QRect &clip, QRgb rgb)
{
    const qint64 dx = l.x2() - l.x1(), dy = l.y2() - l.y1();
    const bool xMajor = std::abs(dx) >= std::abs(dy);
    const qint64 major = xMajor ? std::abs(dx) : std::abs(dy), minor = xMajor ? std::abs(dy) : std::abs(dx);
    const int sa = (xMajor ? dx : dy) >= 0 ? 1 : -1, sb = (xMajor ? dy : dx) >= 0 ? 1 : -1;
    for (qint64 k = 0; k <= major; ++k) {
        const qint64 off = major == 0 ? 0 : (2 * k * minor + major) / (2 * major);
        const qint64 a = (xMajor ? l.x1() : l.y1()) + sa * k, b = (xMajor ? l.y1() : l.x1()) + sb * off;
        const qint64 x = xMajor ? a : b, y = xMajor ? b : a;
        if (clip.contains(int(x), int(y)) && x == int(x) && y == int(y))
            image.setPixel(int(x), int(y), rgb);
    }
}

} // namespace

class tst_SchemePicture : public QObject {
    Q_OBJECT

private slots:
    void pixels_data();
    void pixels();
    void fastLinesClipExactly();
    void labelsAsQPainterDrawsThem();
    void files();
    void pngWriter();
};

void tst_SchemePicture::pixels_data()
{
    QTest::addColumn<QString>("setup");
    QTest::addColumn<QPoint>("at");
    QTest::addColumn<QString>("colour");

    QTest::newRow("branch: 192 grey, exactly") << "" << QPoint(100, 55) << "#c0c0c0";
    QTest::newRow("background") << "" << QPoint(100, 45) << "#000000";
    QTest::newRow("selected branch") << "sel b1" << QPoint(100, 55) << "#ffff00";
    QTest::newRow("gassed zone of kind 1") << "b1 gas1 1 25 75; flags 0x1" << QPoint(105, 55) << "#ff0000";
    QTest::newRow("gassed zone of kind 2, 216 exactly") << "b1 gas1 2 25 75; flags 0x1" << QPoint(105, 55)
                                                        << "#00d8d8";
    QTest::newRow("stopping at 0 across the start node") << "b1 j 0" << QPoint(55, 52) << "#c0c0c0";
    QTest::newRow("stopping at 0 reaches 4 pixels") << "b1 j 0" << QPoint(55, 59) << "#c0c0c0";
    QTest::newRow("stopping at 0 no further") << "b1 j 0" << QPoint(55, 50) << "#000000";
    QTest::newRow("selected stopping") << "b1 j 0; sel j0" << QPoint(55, 52) << "#ffff00";
    QTest::newRow("marked stopping") << "b1 j 0.5 normal; flags 0x1" << QPoint(105, 52) << "#00ff00";
    QTest::newRow("selected node") << "sel u1" << QPoint(54, 53) << "#ffff00";
}

void tst_SchemePicture::pixels()
{
    QFETCH(QString, setup);
    QFETCH(QPoint, at);
    QFETCH(QString, colour);
    Picture pic(QString::fromLatin1(kLine), setup);
    const QImage image = SchemePicture::Render(pic.view);
    QCOMPARE(image.size(), QSize(210, 110));
    QCOMPARE(image.depth(), 32);
    QCOMPARE(image.pixelColor(at).name(), colour);
}

void tst_SchemePicture::fastLinesClipExactly()
{
    // Short lines around and across a small clip, and long ones far beyond the image.
    QRandomGenerator rng(15);
    std::vector<QLine> lines;
    for (int i = 0; i < 3000; ++i) {
        const int range = i % 30 == 0 ? 200000 : 500;
        auto c = [&](int centre) { return centre + int(rng.bounded(2 * range + 1)) - range; };
        lines.emplace_back(c(200), c(150), c(200), c(150));
    }
    lines.emplace_back(180, 120, 180, 120);   // a single pixel
    // Short lines wholly inside the clip, in every direction, as a large network has them.
    for (int i = 0; i < 2000; ++i) {
        const int x = 150 + int(rng.bounded(100)), y = 100 + int(rng.bounded(80));
        const int reach = i % 4 == 0 ? 60 : 3;
        const int dx = int(rng.bounded(2 * reach + 1)) - reach, dy = int(rng.bounded(2 * reach + 1)) - reach;
        lines.emplace_back(x, y, std::clamp(x + dx, 150, 249), std::clamp(y + dy, 100, 179));
    }
    const QRect clip(150, 100, 100, 80);
    QImage fast(400, 300, QImage::Format_RGB32), reference(400, 300, QImage::Format_RGB32);
    fast.fill(Qt::black);
    reference.fill(Qt::black);
    {
        QPainter p(&fast);
        TImageSchemeCanvas canvas(p, fast);
        canvas.SetPen(SchemeRgb(192, 192, 192), 1, TPenStyle::Solid);
        canvas.PushClip({clip.left(), clip.top(), clip.left() + clip.width(), clip.top() + clip.height()});
        canvas.Lines(lines.data(), int(lines.size()));
        canvas.PopClip();
    }
    for (const QLine &l : lines)
        ReferenceLine(reference, l, clip, qRgb(192, 192, 192));
    QCOMPARE(fast, reference);
}

void tst_SchemePicture::labelsAsQPainterDrawsThem()
{
    QImage fast(120, 20, QImage::Format_RGB32), painted(120, 20, QImage::Format_RGB32);
    for (QImage *image : {&fast, &painted}) {
        image->fill(Qt::darkBlue);
        QPainter p(image);
        std::unique_ptr<TPainterSchemeCanvas> canvas = image == &fast ? std::make_unique<TImageSchemeCanvas>(p, *image)
                                                                : std::make_unique<TPainterSchemeCanvas>(p);
        canvas->SetFont(QStringLiteral("Arial"), 204, 8);
        canvas->SetBrush(SchemeRgb(0, 0, 0));
        canvas->SetTextColor(SchemeRgb(192, 192, 192));
        canvas->Text(3, 4, u"-1234567890");
        QCOMPARE(canvas->TextWidth(u"-1234567890"), p.fontMetrics().horizontalAdvance(QStringLiteral("-1234567890")));
    }
    QCOMPARE(fast, painted);
}

void tst_SchemePicture::files()
{
    // Three branches, one on a hidden seam: two are drawn.
    Picture pic(QStringLiteral("u 1 -50 0 0; u 2 50 0 0; u 3 0 0 30; b 1 1 2; b 2 2 3; b 3 3 1"),
                QStringLiteral("L #ff0000 hidden; b2 L0; text 1"));
    QTemporaryDir dir;
    QString error;
    const QString png = dir.filePath(QStringLiteral("scheme.PNG")), svg = dir.filePath(QStringLiteral("scheme.svg"));
    QVERIFY2(SchemePicture::Write(pic.view, png, &error), qPrintable(error));
    QCOMPARE(QImage(png).convertToFormat(QImage::Format_RGB32), SchemePicture::Render(pic.view));

    QVERIFY2(SchemePicture::Write(pic.view, svg, &error), qPrintable(error));
    QFile file(svg);
    QVERIFY(file.open(QIODevice::ReadOnly));
    QXmlStreamReader xml(&file);
    int lines = 0;
    QStringList labels;
    while (!xml.atEnd()) {
        if (xml.readNext() != QXmlStreamReader::StartElement)
            continue;
        if (xml.name() == QLatin1String("polyline") || xml.name() == QLatin1String("line"))
            ++lines;
        else if (xml.name() == QLatin1String("text"))
            labels << xml.readElementText(QXmlStreamReader::IncludeChildElements).trimmed();
    }
    QVERIFY2(!xml.hasError(), qPrintable(xml.errorString()));
    QCOMPARE(lines, 2);
    QCOMPARE(labels, (QStringList{"1", "3"}));

    QVERIFY(!SchemePicture::Write(pic.view, dir.filePath(QStringLiteral("scheme.bmp")), &error));
    QVERIFY(!QFile::exists(dir.filePath(QStringLiteral("scheme.bmp"))));
}

void tst_SchemePicture::pngWriter()
{
    // Any format goes out as 24-bit colour, pixel for pixel.
    QImage image(37, 5, QImage::Format_ARGB32);
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            image.setPixel(x, y, qRgba(x * 7, y * 50, 255 - x, 255));
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    QString error;
    QVERIFY2(PngWriter::Write(image, &buffer, &error), qPrintable(error));
    QImage back;
    QVERIFY(back.loadFromData(buffer.data(), "PNG"));
    QCOMPARE(back.convertToFormat(QImage::Format_RGB32), image.convertToFormat(QImage::Format_RGB32));

    // A device that takes nothing: false, with the device's reason.
    QBuffer refusing;
    refusing.open(QIODevice::ReadOnly);
    error.clear();
    QVERIFY(!PngWriter::Write(image, &refusing, &error));
    QCOMPARE(error, refusing.errorString());
    QVERIFY(!error.isEmpty());
}

QTEST_MAIN(tst_SchemePicture)
#include "tst_SchemePicture.moc"
