#pragma once
// What a DXF file holds for a mine network, as DxfReader leaves it: the centrelines as chains of
// straight segments in metres of the mine's single precision (blocks inserted where INSERT puts
// them, arcs split into chords), the texts that may name them, the layers both lie on, and a
// count of what was left out. DxfNetwork makes nodes and branches of it.
#include <QString>
#include <QStringList>
#include <map>
#include <vector>

struct TDxfPoint {
    float X = 0, Y = 0, Z = 0;
};

struct TDxfDrawing {
    struct TLayer {
        QString Name;             // as the mine file can hold it (code page 1251, one line)
        quint32 Color = 0xFFFFFF; // 0x00BBGGRR
        bool NameChanged = false; // the file's name had characters the mine file cannot hold
    };
    // A LINE, a polyline or an arc: Count points from Points[First], joined in order (a closed
    // polyline repeats its first point at the end).
    struct TPath {
        qint64 First = 0;
        qint32 Count = 0;
        qint32 Layer = 0;   // index into Layers
        qint32 Line = 0;    // line of the file on which its entity starts
    };
    struct TLabel {
        TDxfPoint At;
        QString Text;       // plain words, as the mine file can hold them
        qint32 Layer = 0;
    };

    std::vector<TLayer> Layers;   // the file's layer table in its order, then layers first met
    std::vector<TDxfPoint> Points;
    std::vector<TPath> Paths;
    std::vector<TLabel> Labels;
    std::map<QString, qint64> Skipped;   // entities left out, by name
    int Units = 0;                       // $INSUNITS; 0 when the file does not say
    // The largest shift of a point to single precision, in metres, where it passed a millimetre
    // and the file held more than single precision (survey coordinates in the millions).
    double Rounding = 0;

    qint64 SegmentCount() const
    {
        qint64 n = 0;
        for (const TPath &p : Paths)
            n += p.Count - 1;
        return n;
    }
    qint64 SkippedCount() const
    {
        qint64 n = 0;
        for (const auto &s : Skipped)
            n += s.second;
        return n;
    }
    // Names of the layers that hold lines or texts, in the order of Layers.
    QStringList UsedLayers() const
    {
        std::vector<bool> used(Layers.size(), false);
        for (const TPath &p : Paths)
            used[size_t(p.Layer)] = true;
        for (const TLabel &l : Labels)
            used[size_t(l.Layer)] = true;
        QStringList names;
        for (size_t i = 0; i < Layers.size(); ++i)
            if (used[i])
                names << Layers[i].Name;
        return names;
    }
};
