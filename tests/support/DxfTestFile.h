#pragma once
// DXF drawings for the tests, written with dxflib as CAD programs write them: header (units,
// code page), tables (layers with colour indices, block records), blocks, entities, objects.
//
//   DxfTestFile f;
//   f.Units(4);                                    // millimetres
//   f.Layer("Штрек", 1);                           // red
//   f.Entity([](DL_Dxf &dxf, DL_WriterA &dw) { dxf.writeLine(dw, ..., DxfTestFile::On("Штрек")); });
//   f.Block("Сбойка", [](DL_Dxf &dxf, DL_WriterA &dw) { ... });
//   QByteArray bytes = f.Bytes(dir);
//
// Names are given in UTF-8 and written in Windows-1251, as the header's $DWGCODEPAGE says.
// Tests that use it link dxflib (tests/CMakeLists.txt).
#include <QByteArray>
#include <QFile>
#include <QStringEncoder>
#include <QTemporaryDir>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include <dl_dxf.h>
#include <dl_writer_ascii.h>

class DxfTestFile {
public:
    using TWrite = std::function<void(DL_Dxf &, DL_WriterA &)>;

    static std::string Cp1251(const char *utf8)
    {
        QStringEncoder encoder("windows-1251");
        const QByteArray b = encoder.encode(QString::fromUtf8(utf8));
        return std::string(b.constData(), size_t(b.size()));
    }
    // Attributes of an entity on layer, its colour by layer.
    static DL_Attributes On(const char *layer) { return DL_Attributes(Cp1251(layer), 256, -1, -1, "BYLAYER"); }

    void Units(int insunits) { m_units = insunits; }
    void Layer(const char *name, int aci) { m_layers.push_back({Cp1251(name), aci}); }
    void Block(const char *name, TWrite contents) { m_blocks.push_back({Cp1251(name), std::move(contents)}); }
    void Entity(TWrite write) { m_entities.push_back(std::move(write)); }

    // Writes the drawing through dxflib's own file writer into dir and returns its bytes.
    QByteArray Bytes(const QTemporaryDir &dir) const
    {
        const QString path = dir.filePath(QStringLiteral("drawing-%1.dxf").arg(++m_written));
        {
            DL_Dxf dxf;
            std::unique_ptr<DL_WriterA> dw(dxf.out(QFile::encodeName(path).constData(), DL_VERSION_2000));
            if (!dw)
                return {};
            Write(dxf, *dw);
            dw->close();
        }
        QFile f(path);
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    }

private:
    void Write(DL_Dxf &dxf, DL_WriterA &dw) const
    {
        dxf.writeHeader(dw);
        dw.dxfString(9, "$DWGCODEPAGE");
        dw.dxfString(3, "ANSI_1251");
        if (m_units >= 0) {
            dw.dxfString(9, "$INSUNITS");
            dw.dxfInt(70, m_units);
        }
        dw.sectionEnd();

        dw.sectionTables();
        dxf.writeVPort(dw);
        dw.tableLinetypes(1);
        dxf.writeLinetype(dw, DL_LinetypeData("CONTINUOUS", "Continuous", 0, 0, 0.0));
        dw.tableEnd();
        dw.tableLayers(int(m_layers.size()) + 1);
        dxf.writeLayer(dw, DL_LayerData("0", 0), DL_Attributes(std::string(), 7, -1, -1, "CONTINUOUS"));
        for (const auto &l : m_layers)
            dxf.writeLayer(dw, DL_LayerData(l.first, 0), DL_Attributes(std::string(), l.second, -1, -1, "CONTINUOUS"));
        dw.tableEnd();
        dw.tableStyle(1);
        dxf.writeStyle(dw, DL_StyleData("Standard", 0, 0.0, 1.0, 0.0, 0, 2.5, "txt", ""));
        dw.tableEnd();
        dxf.writeView(dw);
        dxf.writeUcs(dw);
        dw.tableAppid(1);
        dxf.writeAppid(dw, "ACAD");
        dw.tableEnd();
        dxf.writeDimStyle(dw, 2.5, 1.25, 0.625, 0.625, 2.5);
        dxf.writeBlockRecord(dw);
        for (const auto &b : m_blocks)
            dxf.writeBlockRecord(dw, b.first);
        dw.tableEnd();
        dw.sectionEnd();

        dw.sectionBlocks();
        for (const char *space : {"*Model_Space", "*Paper_Space", "*Paper_Space0"}) {
            dxf.writeBlock(dw, DL_BlockData(space, 0, 0.0, 0.0, 0.0));
            dxf.writeEndBlock(dw, space);
        }
        for (const auto &b : m_blocks) {
            dxf.writeBlock(dw, DL_BlockData(b.first, 0, 0.0, 0.0, 0.0));
            b.second(dxf, dw);
            dxf.writeEndBlock(dw, b.first);
        }
        dw.sectionEnd();

        dw.sectionEntities();
        for (const TWrite &e : m_entities)
            e(dxf, dw);
        dw.sectionEnd();
        dxf.writeObjects(dw);
        dxf.writeObjectsEnd(dw);
        dw.dxfEOF();
    }

    int m_units = -1;
    std::vector<std::pair<std::string, int>> m_layers;
    std::vector<std::pair<std::string, TWrite>> m_blocks;
    std::vector<TWrite> m_entities;
    mutable int m_written = 0;
};
