// The printer surfaces: PDF files read back with poppler (sizes, words, fonts, glyphs), pictures of pages.
#include <QDir>
#include <QFontDatabase>
#include <QPrinter>
#include <QRawFont>
#include <QRegularExpression>
#include <QXmlStreamReader>
#include <QtEndian>
#include <QtTest>
#include <csignal>
#include <memory>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include "core/globals.h"
#include "core/settings.h"
#include "print/pageframe.h"
#include "print/pdfsurface.h"
#include "print/qtprinter.h"
#include "print/sheets.h"
#include "fonts/staticinstance.h"
#include "sfnt/instances.h"
#include "sfnt/sfnt.h"
#include "sfnt/writer.h"
#include "sfntbuilder.h"
#include "testenv.h"

using namespace gw;

namespace {

struct Word {
    QRectF box;  // points from the sheet's top-left corner
    QString text;
};

QList<QList<Word>> ReadWords(const QString& pdf)
{
    QList<QList<Word>> pages;
    QXmlStreamReader xml(ToolOutput("pdftotext", {"-bbox", pdf, "-"}));
    while (!xml.atEnd()) {
        if (xml.readNext() != QXmlStreamReader::StartElement)
            continue;
        const auto a = xml.attributes();
        if (xml.name() == QLatin1String("page"))
            pages.append(QList<Word>());
        else if (xml.name() == QLatin1String("word") && !pages.isEmpty())
            pages.last().append({QRectF(QPointF(a.value("xMin").toDouble(), a.value("yMin").toDouble()),
                                        QPointF(a.value("xMax").toDouble(), a.value("yMax").toDouble())),
                                 xml.readElementText()});
    }
    return pages;
}

// A printer writing the PDF file, as a print preview's device.
std::unique_ptr<QPrinter> PdfDevice(const QString& pdf)
{
    auto printer = std::make_unique<QPrinter>(QPrinter::HighResolution);
    printer->setOutputFormat(QPrinter::PdfFormat);
    printer->setOutputFileName(pdf);
    return printer;
}

// The first word with this text and its page (from 1), or page 0.
QPair<int, Word> FindWord(const QList<QList<Word>>& pages, const QString& text)
{
    for (int page = 0; page < pages.size(); ++page)
        for (const Word& word : pages[page])
            if (word.text == text)
                return {page + 1, word};
    return {0, {}};
}

QStringList PdfFonts(const QString& pdf)
{
    return ToolOutput("pdffonts", {pdf}).split('\n', Qt::SkipEmptyParts).mid(2);
}

int Ink(const QImage& image, const QRect& area, int below)
{
    int ink = 0;
    for (int y = area.top(); y <= area.bottom(); ++y)
        for (int x = area.left(); x <= area.right(); ++x)
            ink += qGray(image.pixel(x, y)) < below;
    return ink;
}

// The part of a word box its letters fill (poppler's box spans the whole ascent and descent).
QRectF Core(const QRectF& b) { return b.adjusted(0.5, 0.3 * b.height(), -0.5, -0.2 * b.height()); }

// A copy of a TrueType font whose licence forbids embedding.
QByteArray Locked(const QString& file)
{
    QByteArray bytes = ReadFile(file);
    if (TableEntry os2; FindTable(BoundedReader(bytes), 0, "OS/2", os2))
        qToBigEndian<quint16>(0x0002, bytes.data() + os2.offset + 8);
    return bytes;
}

// A copy with only a symbol map, "A" at U+F041 as symbol fonts keep their codes.
QByteArray Symbol(const QString& file)
{
    const QByteArray bytes = ReadFile(file);
    const int a = int(QRawFont(file, 10).glyphIndexesForString("A").value(0));
    QMap<QByteArray, QByteArray> tables;
    for (int i = 0; i < qFromBigEndian<quint16>(bytes.constData() + 4); ++i) {
        const char* entry = bytes.constData() + 12 + 16 * i;
        tables.insert(QByteArray(entry, 4), bytes.mid(qFromBigEndian<quint32>(entry + 8),
                                                      qFromBigEndian<quint32>(entry + 12)));
    }
    QByteArray cmap;
    for (int v : {0, 1, 3, 0, 0, 12, 4, 32, 0, 4, 4, 1, 0, 0xF041, 0xFFFF, 0, 0xF041, 0xFFFF,
                  (a - 0xF041) & 0xFFFF, 1, 0, 0})
        AppendU16(cmap, quint16(v));
    tables.insert("cmap", cmap);
    return SfntFile(tables);
}

// The PDF file as text to approve: each object as written, its streams inflated, a font program as its size,
// tables, glyph count (/W lists the advances); an offset as what starts there; the date, packed lengths masked.
QByteArray PdfText(const QByteArray& pdf)
{
    const auto u32 = [](const QByteArray& b) { return qFromBigEndian<quint32>(b.leftJustified(4, 0).data()); };
    qsizetype pos = pdf.indexOf('\n', 9) + 1, xref = pdf.indexOf("\nxref\n") + 1;
    QByteArray out = pdf.left(pos).toPercentEncoding("%-. \n");
    for (qsizetype end; pos < xref && (end = pdf.indexOf("\nendobj\n", pos) + 8) > pos; pos = end) {
        const qsizetype stream = pdf.indexOf(">>\nstream\n", pos) + 2;
        const QByteArray dict = pdf.mid(pos, (stream < 2 || stream > end ? end : stream) - pos);
        out += dict;
        if (dict.size() == end - pos)
            continue;
        const qsizetype length = QRegularExpression("/Length (\\d+)").match(dict).captured(1).toLongLong();
        QByteArray data = qUncompress(QByteArray(4, 0) + pdf.mid(stream + 8, length));  // Qt's size prefix: unknown
        end = stream + 8 + length + 18;  // past "\nendstream\nendobj\n"
        if (dict.contains("/Length1")) {
            QByteArray font = QByteArray::number(data.size()) + " bytes:";
            for (int i = 0; i < int(u32(data.mid(2, 4)) & 0xFFFF); ++i)
                font += ' ' + data.mid(12 + 16 * i, 4) + ' ' + data.mid(24 + 16 * i, 4).toHex() + ' ' + data.mid(16 + 16 * i, 4).toHex();
            const qsizetype maxp = u32(data.mid(data.indexOf("maxp") + 8, 4));
            data = "font program of " + font + ", " + QByteArray::number(u32(data.mid(maxp + 2, 4)) & 0xFFFF) + " glyphs";
        }
        out += "(inflated)\n" + data + "\nendstream endobj\n";
    }
    for (QByteArray line : pdf.mid(xref).split('\n'))
        out += (QRegularExpression("^\\d{10} 00000 n $|^\\d+$").match(line).hasMatch()
                    ? "-> " + pdf.mid(line.toLongLong(), pdf.indexOf('\n', line.toLongLong()) - line.toLongLong())
                    : line) + '\n';
    return QString::fromLatin1(out).replace(QRegularExpression("D:\\d{14}Z"), "D:yyyyMMddHHmmssZ")
        .replace(QRegularExpression("/Length \\d+ /Filter"), "/Length (as zlib packs it) /Filter").toLatin1();
}

} // namespace

class TestQtPrinter : public QObject {
    Q_OBJECT
private slots:
    void init() { env_.reset(new TestEnv); }
    void cleanup() { env_.reset(); }

    void pdfSheet_data()
    {
        QTest::addColumn<int>("paper");
        QTest::addColumn<QString>("pageSize");
        QTest::newRow("letter") << int(PaperLetter) << "612 x 792 pts (letter)";
        QTest::newRow("A4") << int(PaperA4) << "595 x 842 pts (A4)";
    }
    // A page of the printer's own words, then the sheets of two fonts with texts long enough to run past
    // every margin unless the sheets cut them.
    void pdfSheet()
    {
        QFETCH(int, paper);
        QFETCH(QString, pageSize);
        const QString quote = "Sphinx of black quartz, judge my vow; pack my box with five dozen "
                              "liquor jugs and a few more words to run past the margin";
        WriteIniString("SpecSheets", "Header", "Glyphwick specimen for the shop", IniFile);
        WriteIniString("SpecSheets", "QuoteIndex", "3", IniFile);
        for (int i = 1; i <= 8; ++i)
            WriteIniString("Quotes", QString("Quote%1").arg(i), quote, IniFile);
        QVERIFY(WriteFile(QFileInfo(IniFile).path() + "/papara1.txt",
                          (quote + " " + quote + "\n" + quote + ". ").repeated(6).toUtf8()));
        const QString pdf = env_->root() + "/sheet.pdf", name = "Liberation Serif";
        auto printer = PdfSurface::Create(pdf, paper);
        QVERIFY(printer->IsValid());
        // While written, the file has the name of the program's temporary files (removed after a kill).
        const QStringList partial = QDir(env_->root()).entryList({".glyphwick-*.pdf"}, QDir::Files | QDir::Hidden);
        QVERIFY2(partial.size() == 1 && partial[0].startsWith(OwnFilePrefix()), qPrintable(partial.join(' ')));
        PrintJob job(*printer, {});
        job.Start();
        // A new page draws in the caption font at 10 points, as if set.
        const double captionWidth = printer->TextWidth("Glyphwick");
        QVERIFY(printer->SetFontName(CaptionFont) && captionWidth > 0);
        printer->SetFontSize(10);
        QCOMPARE(printer->TextWidth("Glyphwick"), captionWidth);
        // The codes a font has; a family name in any case is taken, an unknown one refused.
        QVERIFY(printer->SetFontName("standard symbols ps") && printer->HasGlyph(65));
        QVERIFY(!printer->HasGlyph(240));  // the symbol font's own map
        QVERIFY(printer->SetFontName("Liberation Sans") && printer->HasGlyph(128));  // the euro, code page 1252
        for (const QString& refused : {QString("Glyphwick No Such Face"), QString()})
            QVERIFY(!printer->SetFontName(refused) && printer->FontName() == "Liberation Sans");
        QVERIFY(printer->SetFontName("Nimbus Sans"));
        printer->SetFontSize(12);
        const double footY = printer->ScaleHeight() - 72 + job.Top;  // one inch above the bottom
        printer->SetCurrent(job.X(100), footY);
        printer->Print("Leftword");
        printer->SetFontItalic(true);  // the style set last changes the face too
        printer->SetCurrent(job.X(300), footY);
        printer->Print("Slanted");
        // A run's documents all go into the one file, each after the last.
        printer->EndDoc();
        printer->EndDoc();  // nothing open: no empty page
        printer->Print("Second");
        job.Finish();
        // The second font's names crowd every name block.
        PrintSheets(*printer, {{"LiberationSerif-Regular.ttf", "400 KB", name, name, 1, name, {}, {}, 0},
                               {"LiberationSerif-BoldItalic-Condensed-Extended-Version-2.ttf", "12,345 KB", name,
                                name + " Bold Italic Condensed Extended Display", 1, name, {}, {}, 0}},
                    Gauge(), {true, true, true, true, true, true, true, true});
        printer->Finish(nullptr);

        const QString info = ToolOutput("pdfinfo", {pdf});
        QVERIFY2(info.contains(QRegularExpression("Pages: +18\n")), qPrintable(info));
        QVERIFY2(info.contains(QRegularExpression("Page size: +" + QRegularExpression::escape(pageSize))),
                 qPrintable(info));
        const QList<QList<Word>> pages = ReadWords(pdf);
        const auto [page, left] = FindWord(pages, "Leftword");
        QVERIFY2(page == 1 && qAbs(left.box.left() - 100) <= 1, qPrintable(QString::number(left.box.left())));
        // The baseline lies inside the box, nearer its bottom (descenders only below).
        const double baseline = pageSize.section(' ', 2, 2).toDouble() - 72;
        QVERIFY2(left.box.top() < baseline - 6 && left.box.bottom() > baseline && left.box.bottom() < baseline + 5,
                 qPrintable(QString("%1 %2").arg(left.box.top()).arg(left.box.bottom())));
        QCOMPARE(FindWord(pages, "Second").first, 2);
        // Text taken from the PDF is the text printed, past a face's hundredth glyph too (charts print 200).
        const QString text = ToolOutput("pdftotext", {pdf, "-"});
        for (char16_t c = 0x21; c <= 0xFF; c = c == 0x7E ? 0xA1 : c + 1)
            QVERIFY2(c == 0xAD || text.contains(QChar(c)), qPrintable(QString(QChar(c))));
        QVERIFY2(!PdfFonts(pdf).filter("NimbusSans-Italic ").isEmpty(), qPrintable(PdfFonts(pdf).join('\n')));
        const QSizeF sheet(pageSize.section(' ', 0, 0).toDouble(), pageSize.section(' ', 2, 2).toDouble());
        const QRectF printable(18 - 0.5, 18 - 0.5, sheet.width() - 36 + 1, sheet.height() - 36 + 1);
        for (int n = 2; n < 18; ++n) {
            const QList<Word>& words = pages[n];
            const QString sheetName = QString("sheet %1: ").arg((n - 2) % 8 + 1);
            QVERIFY(words.size() > 20);
            for (int i = 0; i < words.size(); ++i) {
                const QRectF& box = words[i].box;
                QVERIFY2(printable.contains(box), qPrintable(sheetName + words[i].text + " outside"));
                for (int j = i + 1; j < words.size(); ++j)
                    QVERIFY2(!Core(box).intersects(Core(words[j].box)),
                             qPrintable(sheetName + words[i].text + " overlaps " + words[j].text));
            }
        }
    }

    // On a preview's PDF device, a run's documents follow one another on new pages, none empty.
    void documentsFollowOnOneDevice()
    {
        const QString pdf = env_->root() + "/device.pdf";
        const std::unique_ptr<QPrinter> qtPdf = PdfDevice(pdf);
        auto printer = QtPrinterSurface::ForDevice(qtPdf.get());
        printer->SetDocumentTitle("Glyphwick catalog");  // the name the printer's queue shows
        QCOMPARE(qtPdf->docName(), QString("Glyphwick catalog"));
        qtPdf->setPageOrientation(QPageLayout::Landscape);  // a run turns a sideways sheet upright
        printer->SetOrientation(2);
        QCOMPARE(qtPdf->pageLayout().orientation(), QPageLayout::Landscape);
        printer->SetOrientation(1);
        QCOMPARE(qtPdf->pageLayout().orientation(), QPageLayout::Portrait);
        printer->SetScaleMode(ScalePoints);
        for (const char* word : {"First", "Second"}) {
            QVERIFY(printer->SetFontName("Liberation Sans"));
            printer->SetCurrent(72, 72);
            printer->Print(word);
            printer->EndDoc();
            printer->EndDoc();
        }
        QVERIFY(printer->Finish(nullptr));
        const QList<QList<Word>> pages = ReadWords(pdf);
        QCOMPARE(pages.size(), 2);
        QCOMPARE(FindWord(pages, "Second").first, 2);
    }

    // On a picture, a face of a file is drawn from that face: a collection's second face, a variable
    // font's named instance (as its static copy draws), not the file's first or default face.
    void pictureDrawsTheFaceAsked_data()
    {
        QTest::addColumn<int>("face");
        QTest::addColumn<int>("otherFace");
        QTest::newRow("a collection's second face") << 1 << 0;
        QTest::newRow("a named instance") << InstanceFace(0, 1) << InstanceFace(0, 0);
        QTest::newRow("the first named instance") << InstanceFace(0, 0) << InstanceFace(0, 1);
        QTest::newRow("an added collection's bold face by its family") << -1 << 0;
    }
    void pictureDrawsTheFaceAsked()
    {
        QFETCH(int, face);
        QFETCH(int, otherFace);
        env_->UseDesktopPlatform();  // a collection's other faces are found through fontconfig
        const QString file = env_->root() + "/faces.ttf", alone = env_->root() + "/alone.ttf";
        if (face > 0 && InstanceOfFace(face) > 0) {
            QVERIFY(WriteFile(file, SfntBuilder::VariableFont("GW Pic Var", 0)));
            QVERIFY(WriteStaticInstance(file, face, alone).isEmpty());
        } else {
            const QByteArray regular = ReadFile(SystemFile("LiberationSans-Regular.ttf"));
            const QByteArray bold = ReadFile(SystemFile("LiberationSans-Bold.ttf"));
            QVERIFY(WriteFile(file, SfntBuilder::Collection({SfntBuilder::Renamed(regular, "GW Pic Pair", "GW Pic Pair"),
                                                             SfntBuilder::Renamed(bold, "GW Pic Pair", "GW Pic Pair Bold", "Bold")}))
                    && WriteFile(alone, bold));
        }
        if (face < 0)
            QVERIFY(Sys().fonts->AddFontResource(file) == 2);
        const auto draw = [](const QString& font, int index) {
            QImage picture(850, 1100, QImage::Format_RGB32);
            picture.fill(Qt::white);
            auto s = QtPrinterSurface::ForImage(&picture, PaperLetter);
            s->SetScaleMode(ScalePoints);
            if (index < 0) {
                s->SetFontName("GW Pic Pair");
                s->SetFontBold(true);
            } else if (s->SetFontFace(font, index).isEmpty()) {
                return QImage();
            }
            s->SetFontSize(60);
            s->SetCurrent(20, 100);
            s->Print("HHH");
            s->Finish(nullptr);
            return picture;
        };
        const QImage drawn = draw(file, face);
        QVERIFY(!drawn.isNull());
        QCOMPARE(drawn, draw(alone, 0));
        QVERIFY(drawn != draw(file, otherFace));
        QVERIFY(face >= 0 || Sys().fonts->RemoveFontResource(file));
        // The static copies an instance was drawn from go with the surface.
        QCOMPARE(QDir(Sys().system->ProgramFolder()).entryList(QDir::Files | QDir::Hidden).filter("instance-"), QStringList());
    }

    // One picture draws each style of an added collection from its own face, one after another;
    // here the bold face comes first in the file, so the regular one is not the file's first.
    void pictureDrawsEachStyleOfACollection()
    {
        env_->UseDesktopPlatform();
        const QString regular = SystemFile("LiberationSans-Regular.ttf"), bold = SystemFile("LiberationSans-Bold.ttf");
        const QString file = env_->root() + "/pair.ttc";
        QVERIFY(WriteFile(file, SfntBuilder::Collection({SfntBuilder::Renamed(ReadFile(bold), "GW Pic Two", "GW Pic Two Bold", "Bold"),
                                                         SfntBuilder::Renamed(ReadFile(regular), "GW Pic Two", "GW Pic Two")})));
        QVERIFY(Sys().fonts->AddFontResource(file) == 2);
        const auto draw = [](const std::function<void(PrinterSurface&, bool)>& choose) {
            QImage picture(850, 1100, QImage::Format_RGB32);
            picture.fill(Qt::white);
            auto s = QtPrinterSurface::ForImage(&picture, PaperLetter);
            s->SetScaleMode(ScalePoints);
            for (const bool isBold : {true, false}) {
                choose(*s, isBold);
                s->SetFontSize(60);
                s->SetCurrent(20, isBold ? 100 : 300);
                s->Print("HHH");
            }
            s->Finish(nullptr);
            return picture;
        };
        const QImage byFamily = draw([](PrinterSurface& s, bool isBold) {
            s.SetFontName("GW Pic Two");
            s.SetFontBold(isBold);
        });
        QCOMPARE(byFamily, draw([&](PrinterSurface& s, bool isBold) { s.SetFontFace(isBold ? bold : regular, 0); }));
        QVERIFY(Sys().fonts->RemoveFontResource(file));
    }

    // A run that ends well leaves no earlier failure in the caller's text, on every surface.
    void finishedRunSaysNoError()
    {
        QImage picture(85, 110, QImage::Format_RGB32);
        const std::unique_ptr<QPrinter> device = PdfDevice(env_->root() + "/device.pdf");
        std::unique_ptr<PrinterSurface> surfaces[] = {QtPrinterSurface::ForImage(&picture, PaperLetter),
                                                      QtPrinterSurface::ForDevice(device.get()),
                                                      PdfSurface::Create(env_->root() + "/own.pdf", PaperLetter)};
        for (auto& surface : surfaces) {
            surface->SetCurrent(72, 72);
            surface->Print("Word");
            QString error = "an earlier failure";
            QVERIFY(surface->Finish(&error));
            QCOMPARE(error, QString());
        }
    }

    // A PDF run that cannot put its file in place, or is interrupted, leaves the earlier file alone.
    void failedPdfLeavesNothingBeside_data()
    {
        QTest::addColumn<QString>("fault");
        QTest::newRow("the target became a folder") << "folder";
        QTest::newRow("interrupted") << "interrupted";
        QTest::newRow("the disk is full") << "full";
    }
    void failedPdfLeavesNothingBeside()
    {
        QFETCH(QString, fault);
        const QString dir = env_->root() + "/out", pdf = dir + "/x.pdf";
        QVERIFY(WriteFile(pdf, "earlier"));
        if (fault == "full") {  // no file may grow past 1 KB: the page and its font do not fit
            auto printer = PdfSurface::Create(pdf, PaperLetter);
            QVERIFY(!printer->SetFontFace(SystemFile("LiberationSans-Regular.ttf"), 0).isEmpty());
            printer->Print("Word");
            struct rlimit before {};
            QVERIFY(::getrlimit(RLIMIT_FSIZE, &before) == 0);
            const auto oldHandler = std::signal(SIGXFSZ, SIG_IGN);
            struct rlimit small = before;
            small.rlim_cur = 1024;
            QVERIFY(::setrlimit(RLIMIT_FSIZE, &small) == 0);
            QString error;
            const bool finished = printer->Finish(&error);
            ::setrlimit(RLIMIT_FSIZE, &before);
            std::signal(SIGXFSZ, oldHandler);
            QVERIFY2(!finished, qPrintable(QString::number(QFileInfo(pdf).size())));
            QCOMPARE(error, QString("the file could not be written whole (the disk may be full)"));
            QCOMPARE(ReadFile(pdf), QByteArray("earlier"));
        } else if (fault == "interrupted") {
            const pid_t child = fork();
            if (child == 0) {
                PdfSurface::RemovePartialPdfOnInterrupt();
                QDir().mkpath(dir + "-with-a-longer-name");  // whose partial file's name was remembered before
                PdfSurface::Create(dir + "-with-a-longer-name/x.pdf", PaperLetter);
                auto printer = PdfSurface::Create(pdf, PaperLetter);
                printer->Print("Word");
                ::raise(SIGTERM);
                ::_exit(3);
            }
            int status = 0;
            QCOMPARE(waitpid(child, &status, 0), child);
            QVERIFY(WIFSIGNALED(status) && WTERMSIG(status) == SIGTERM);
            QCOMPARE(ReadFile(pdf), QByteArray("earlier"));
        } else {
            auto printer = PdfSurface::Create(pdf, PaperLetter);
            printer->Print("Word");
            QVERIFY(QFile::remove(pdf) && QDir().mkpath(pdf) && WriteFile(pdf + "/kept", "kept"));
            QString error;
            QVERIFY(!printer->Finish(&error));
            QVERIFY(!error.isEmpty());
            QCOMPARE(ReadFile(pdf + "/kept"), QByteArray("kept"));
        }
        QCOMPARE(QDir(dir).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot), QStringList{"x.pdf"});
    }

    // A PDF written over an earlier one keeps its permissions (a private file stays private); a new one
    // gets those the umask leaves.
    void pdfPermissions_data()
    {
        QTest::addColumn<int>("earlier");  // -1: no earlier file
        QTest::addColumn<int>("mode");
        QTest::newRow("new, umask 022") << -1 << 0644;
        QTest::newRow("over a private file") << 0600 << 0600;
        QTest::newRow("over a group-readable file") << 0640 << 0640;
    }
    void pdfPermissions()
    {
        QFETCH(int, earlier);
        QFETCH(int, mode);
        const QString pdf = env_->root() + "/perm.pdf";
        if (earlier >= 0)
            QVERIFY(WriteFile(pdf, "earlier") && ::chmod(QFile::encodeName(pdf).constData(), mode_t(earlier)) == 0);
        const mode_t mask = ::umask(022);
        auto printer = PdfSurface::Create(pdf, PaperLetter);
        printer->Print("Word");
        const bool finished = printer->Finish(nullptr);
        ::umask(mask);
        QVERIFY(finished);
        struct stat st {};
        QCOMPARE(::stat(QFile::encodeName(pdf).constData(), &st), 0);
        QCOMPARE(int(st.st_mode & 07777), mode);
    }

    // The PDF of a small document is the approved one (tests/data/pdf): faces of every kind, every line,
    // box, fill and dash, pages where a face is idle. Look at the PDF; GW_APPROVE=1 rewrites the file.
    void pdfAsApproved()
    {
        const QString serif = SystemFile("LiberationSerif-Regular.ttf"), kerned = SystemFile("LiberationSans-Regular.ttf"),
                      dir = env_->root() + "/", file = QString(GW_TEST_DATA) + "/pdf/document.txt";
        QVERIFY(WriteFile(dir + "locked.ttf", Locked(kerned)) && WriteFile(dir + "symbol.ttf", Symbol(serif)));
        const QStringList faces = {serif, SystemFile("NimbusSans-Regular.otf"), SystemFile("NimbusSans-Regular.t1"),
                                   dir + "symbol.ttf", dir + "locked.ttf", kerned, "DejaVu Math TeX Gyre"};
        const QStringList texts = {"\u00c0\u00c1\u00c2\u00c3\u00c4 !\"#$%&'()*+,-./0123456789:;<=>?@ABCDEFGHIJKLMNOPQRSTUVWXYZ[\\]^_`abcdefghijklmnopqrstuvwxyz{|}~",
                                   "Hamburg AVAToy", "Type One", "AA", "AVAToy", "AVAToy", "Bold italic"};  // 100 glyphs: one whole part of the map
        auto pdf = PdfSurface::Create(dir + "approved.pdf", PaperLetter);
        pdf->SetScaleMode(ScalePoints);
        pdf->SetDocumentTitle("Approved \u03a9");
        for (int i = 0; i < 7; ++i) {
            QVERIFY(i == 6 ? pdf->SetFontName(faces[i]) : !pdf->SetFontFace(faces[i], 0).isEmpty());
            pdf->SetFontBold(i == 6);
            pdf->SetFontItalic(i == 6);
            pdf->SetFontSize(10.5 + i);
            pdf->SetForeColor(0x204080 * i);
            pdf->SetTextAlign(QList{AlignBaseLeft, AlignBaseRight, AlignBaseCentre}[i % 3]);
            pdf->SetCurrent(200.0004 + 0.001 * i, 30.5 * i + 20);
            pdf->Print(texts[i]);
            QVERIFY(pdf->HasGlyph('A') && pdf->HasGlyph('B') == (i != 3));  // a symbol font has its own codes
        }
        for (int style = 0; style <= 7; ++style) {
            pdf->SetDrawStyle(style % 6);
            pdf->SetFillStyle(style);
            pdf->SetFillColor(0x102030 * style);
            pdf->SetDrawWidth(style + 1);
            for (int kind : {LinePlain, LineBox, LineFilledBox})
                pdf->Line(10.001 + 70 * style, 7.5 + 100 * kind + 250, 60.999 + 70 * style, 100 * kind + 330, kind, 0xFF * kind);
        }
        for (const QString text : {"Page two", "Again", "After the end"}) {  // the last after the end of a document
            text == "After the end" ? pdf->EndDoc() : pdf->NewPage();
            QVERIFY(!pdf->SetFontFace(text == "Page two" ? faces[1] : serif, 0).isEmpty());
            pdf->Print(text);
        }
        QVERIFY(pdf->Finish(nullptr));
        QVERIFY(pdf->Finish(nullptr));  // once placed, finishing again changes nothing
        const QByteArray text = PdfText(ReadFile(dir + "approved.pdf"));
        QVERIFY(!qEnvironmentVariableIsSet("GW_APPROVE") || WriteFile(file, text));
        const QList<QByteArray> now = text.split('\n'), approved = ReadFile(file).split('\n');
        QCOMPARE(now.mid(0, approved.size()), approved.mid(0, now.size()));  // tells the first line that differs
        QCOMPARE(now.size(), approved.size());
    }

    // The pen's width counts printer dots of 300 an inch, whatever the surface's resolution.
    void penWidthInPrinterDots()
    {
        QImage page(576, 756, QImage::Format_RGB32);  // 72 dpi: a pixel a point
        page.fill(Qt::white);
        auto printer = QtPrinterSurface::ForImage(&page, PaperLetter);
        printer->SetScaleMode(ScalePoints);
        printer->SetDrawWidth(300);
        printer->Line(100, 200, 400, 200, LinePlain, ColourBlack);
        printer->Finish(nullptr);
        int rows = 0;
        for (int y = 0; y < page.height(); ++y)
            rows += page.pixelColor(250, y) == Qt::black;
        QCOMPARE(rows, 72);
    }

    // A box's inside: left alone when transparent, cross-hatched, or filled; a filled box (a
    // catalog's bar) in the line's colour whatever the fill style.
    void boxInsides_data()
    {
        QTest::addColumn<int>("style");  // -1: a filled box
        QTest::addColumn<int>("least");  // inked pixels of the inside, in per cent
        QTest::addColumn<int>("most");
        QTest::newRow("transparent") << int(FillTransparent) << 0 << 0;
        QTest::newRow("diagonal cross") << int(FillDiagonalCross) << 5 << 99;
        QTest::newRow("solid") << int(FillSolid) << 100 << 100;
        QTest::newRow("filled box") << -1 << 100 << 100;
    }
    void boxInsides()
    {
        QFETCH(int, style);
        QFETCH(int, least);
        QFETCH(int, most);
        QImage page(576, 756, QImage::Format_RGB32);  // 72 dpi: a pixel a point
        auto printer = QtPrinterSurface::ForImage(&page, PaperLetter);
        printer->SetScaleMode(ScalePoints);
        const bool filledBox = style < 0;
        printer->SetFillStyle(filledBox ? int(FillTransparent) : style);
        printer->SetFillColor(0x204080);  // blue, green, red
        printer->Line(100, 100, 200, 200, filledBox ? LineFilledBox : LineBox, filledBox ? 0x204080 : ColourBlack);
        printer->SetFillStyle(FillTransparent);  // a box after it keeps nothing of its filling
        printer->Line(300, 100, 400, 200, LineBox, ColourBlack);
        printer->SetDrawWidth(40);  // 9.6 points: a thick box keeps square corners
        printer->Line(450, 300, 500, 350, LineBox, ColourBlack);
        printer->Finish(nullptr);
        QVERIFY(qGray(page.pixel(446, 296)) < 128);
        QCOMPARE(Ink(page, QRect(310, 110, 80, 80), 250), 0);
        QVERIFY((style != FillSolid && !filledBox) || page.pixelColor(150, 150) == QColor(0x80, 0x40, 0x20));
        const int percent = Ink(page, QRect(110, 110, 80, 80), 250) * 100 / (80 * 80);
        QVERIFY2(percent >= least && percent <= most, qPrintable(QString::number(percent)));
        // Lines a printer dot wide, 8 apart each way: about a quarter of the ink of a solid fill.
        double ink = 0;
        for (int y = 110; y < 190; ++y)
            for (int x = 110; x < 190; ++x)
                ink += 255 - qGray(page.pixel(x, y));
        const double share = ink / (80 * 80) / (255 - qGray(0x80, 0x40, 0x20));
        QVERIFY2(style != FillDiagonalCross || (share > 0.15 && share < 0.35), qPrintable(QString::number(share)));
        QCOMPARE(Ink(page, QRect(20, 120, 70, 75), 250), 0);  // the hatching stops at the box
    }

    // The PDF file holds what the picture of the page shows: glyphs from the face's own file,
    // alignment, boxes, hatching (dashes and the rest: the approved PDF).
    void pdfDrawsAsThePicture_data()
    {
        QTest::addColumn<QString>("font");  // a file of the machine's fonts, or "" for lines only
        QTest::addColumn<int>("align");
        QTest::addColumn<int>("fillStyle");  // below 0: the draw style, without filling
        const QString serif = "LiberationSerif-Regular.ttf";
        QTest::newRow("TrueType") << serif << int(AlignBaseLeft) << 1;
        QTest::newRow("CFF") << "NimbusSans-Regular.otf" << int(AlignBaseLeft) << 1;
        QTest::newRow("Type 1") << "NimbusSans-Regular.t1" << int(AlignBaseLeft) << 1;
        QTest::newRow("aligned right") << serif << int(AlignBaseRight) << 1;
        QTest::newRow("centred") << serif << int(AlignBaseCentre) << 1;
        QTest::newRow("no embedding: the outlines") << "locked:" + serif << int(AlignBaseLeft) << 1;
        for (int fill : {0, 2, 3, 4, 5, 6, 7})
            QTest::addRow("fill style %d", fill) << "" << 0 << fill;
        for (int draw = 1; draw <= 5; ++draw)  // dashes, dots, no line
            QTest::addRow("draw style %d", draw) << "" << 0 << -draw;
    }
    void pdfDrawsAsThePicture()
    {
        QFETCH(QString, font);
        QFETCH(int, align);
        QFETCH(int, fillStyle);
        QString file = font.isEmpty() ? QString() : SystemFile(QString(font).remove("locked:"));
        QVERIFY(font.isEmpty() || !file.isEmpty());
        if (font.startsWith("locked:")) {  // a copy whose licence forbids embedding
            QByteArray bytes = ReadFile(file);
            TableEntry os2;
            QVERIFY(FindTable(BoundedReader(bytes), 0, "OS/2", os2));
            qToBigEndian<quint16>(0x0002, bytes.data() + os2.offset + 8);
            file = env_->root() + "/locked.ttf";
            QVERIFY(WriteFile(file, bytes));
        }
        const auto draw = [&](PrinterSurface& s) {
            s.SetScaleMode(ScalePoints);
            s.SetForeColor(0x204080);
            s.SetFillColor(0x000000);
            s.SetFillStyle(std::max(fillStyle, 0));
            s.SetDrawStyle(std::max(-fillStyle, 0));
            s.SetDrawWidth(6);
            if (!file.isEmpty()) {
                QVERIFY(!s.SetFontFace(file, 0).isEmpty());
                s.SetFontSize(40);
                s.SetTextAlign(align);
                s.SetCurrent(300, 100);
                s.Print("Hamburg AVAToy");
                QVERIFY(s.HasGlyph('A') && s.HasGlyph('B'));
            }
            s.Line(100, 200, 300, 330, LineBox, ColourBlack);
            s.Line(350, 200, 550, 330, LinePlain, 0x0000FF);
        };
        QImage picture(2400, 3150, QImage::Format_RGB32);  // 300 dpi, where a hatching line is a pixel wide
        auto image = QtPrinterSurface::ForImage(&picture, PaperLetter);
        draw(*image);
        image->Finish(nullptr);
        const QString pdf = env_->root() + "/drawn.pdf";
        auto writer = PdfSurface::Create(pdf, PaperLetter);
        draw(*writer);
        QVERIFY(writer->Finish(nullptr));
        ToolOutput("pdftoppm", {"-r", "300", "-png", "-singlefile", pdf, env_->root() + "/drawn"});
        const QImage printed = QImage(env_->root() + "/drawn.png").copy(75, 75, 2400, 3150);
        QCOMPARE(printed.size(), picture.size());
        // Compared by squares of 8 pixels, as the two draw the edges of their shapes a little apart.
        int ink = 0, differ = 0;
        for (int top = 0; top + 8 <= picture.height(); top += 8)
            for (int left = 0; left + 8 <= picture.width(); left += 8) {
                int a = 0, b = 0;
                for (int y = top; y < top + 8; ++y)
                    for (int x = left; x < left + 8; ++x) {
                        a += qGray(picture.pixel(x, y));
                        b += qGray(printed.pixel(x, y));
                    }
                ink += a < 64 * 240;
                differ += qAbs(a - b) > 64 * 48;
            }
        if (font.startsWith("locked:")) {  // outlines are the picture's own shapes: the pixels agree
            int textInk = 0, textDiffer = 0;
            for (int y = 300; y < 450; ++y)
                for (int x = 1250; x < 2400; ++x) {
                    textInk += qGray(picture.pixel(x, y)) < 128;
                    textDiffer += qAbs(qGray(picture.pixel(x, y)) - qGray(printed.pixel(x, y))) > 128;
                }
            QVERIFY2(textInk > 10000 && textDiffer < textInk / 200, qPrintable(QString::number(textDiffer)));
        }
        QVERIFY2(ink > 200 && differ <= ink / 50, qPrintable(QString("%1 of %2").arg(differ).arg(ink)));
        // As many hatching lines (and strokes of glyphs) across the box and the text, either way;
        // the most over 8 scans side by side, as crossing lines meet on some scans and not others.
        const auto runs = [](const QImage& image, QPoint from, QPoint step, int n) {
            int most = 0;
            for (int side = 0; side < 8; ++side) {
                int count = 0;
                bool dark = false;
                QPoint p = from + side * QPoint(step.y(), step.x());
                for (int i = 0; i < n; ++i, p += step) {
                    const bool now = qGray(image.pixel(p)) < 128;
                    count += now && !dark;
                    dark = now;
                }
                most = std::max(most, count);
            }
            return most;
        };
        for (const auto& [from, step, n] : {std::tuple(QPoint(420, 1100), QPoint(1, 0), 820),
                                            std::tuple(QPoint(830, 840), QPoint(0, 1), 530),
                                            std::tuple(QPoint(1250, 360), QPoint(1, 0), 1100)})
            QVERIFY2(qAbs(runs(picture, from, step, n) - runs(printed, from, step, n)) <= 1,
                     qPrintable(QString("%1 against %2").arg(runs(picture, from, step, n)).arg(runs(printed, from, step, n))));
    }

    // The PDF names a face by its PostScript name: printable ASCII as it stands, a delimiter or "#"
    // as #xx (readers do not guess).
    void pdfNamesTheFaceAsItsFileDoes_data()
    {
        QTest::addColumn<QString>("postScriptName");
        QTest::addColumn<QByteArray>("written");
        QTest::newRow("a hash") << "Gw#Hash" << QByteArray("/Gw#23Hash");
        QTest::newRow("a tilde, the last printable") << "Gw~Tilde" << QByteArray("/Gw~Tilde");
    }
    void pdfNamesTheFaceAsItsFileDoes()
    {
        QFETCH(QString, postScriptName);
        QFETCH(QByteArray, written);
        const QString file = env_->root() + "/named.ttf";
        QVERIFY(WriteFile(file, SfntBuilder::Renamed(ReadFile(SystemFile("LiberationSans-Regular.ttf")), "Gw Named",
                                                     postScriptName)));
        const QString pdf = env_->root() + "/named.pdf";
        auto writer = PdfSurface::Create(pdf, PaperLetter);
        QVERIFY(!writer->SetFontFace(file, 0).isEmpty());
        writer->SetCurrent(100, 100);
        writer->Print("A");
        QVERIFY(writer->Finish(nullptr));
        QVERIFY2(ReadFile(pdf).contains(written + " "), written.constData());
        QVERIFY2(!postScriptName.contains('#') || PdfFonts(pdf).value(0).startsWith(postScriptName + " "),
                 qPrintable(PdfFonts(pdf).join('\n')));
    }

    // A font added for the run is drawn from its own file on an image (the fake platform:
    // Qt never saw it); into a PDF it is embedded text, listed by Qt only while drawn
    // when added for drawing only.
    void addedFontsDrawFromTheirFiles_data()
    {
        QTest::addColumn<QString>("family");
        QTest::addColumn<bool>("bold");
        QTest::addColumn<QString>("drawnFrom");  // the added file, or "" for Qt's own drawing
        QTest::addColumn<QString>("embedded");   // PDF: the one font pdffonts lists
        QTest::addColumn<bool>("forDrawing");    // added for drawing only
        QTest::addColumn<QString>("target");     // a picture, the PDF file, or a printer (Qt's own PDF)
        QTest::newRow("added family, any case") << "gwraw sans" << false << "Gwraw Sans.ttf" << "" << false << "picture";
        QTest::newRow("bold from the bold file") << "Gwraw Sans" << true << "Gwraw Sans Bold.ttf" << "" << false
                                                 << "picture";
        QTest::newRow("CFF OpenType") << "Gwraw Cff" << false << "Gwraw Cff.otf" << "" << false << "picture";
        QTest::newRow("PDF file: bold embedded from its file") << "Gwraw Sans" << true << "Gwraw Sans Bold.ttf"
                                                               << "GwrawSansBold " << false << "PDF file";
        QTest::newRow("printer: bold embedded") << "Gwraw Sans" << true << "" << "GwrawSansBold " << false << "printer";
        QTest::newRow("printer: CFF embedded") << "Gwraw Cff" << false << "" << "GwrawCff " << false << "printer";
        QTest::newRow("printer, drawing only: bold embedded") << "Gwraw Sans" << true << "" << "GwrawSansBold " << true
                                                              << "printer";
        // The fake platform never shows Qt the font: no other family may stand in.
        QTest::newRow("printer, unknown to Qt: the file's outlines") << "Gwraw Sans" << true << "Gwraw Sans Bold.ttf"
                                                                     << "" << false << "printer";
        // A font whose licence forbids embedding is drawn as outlines.
        QTest::newRow("printer, no embedding: outlines") << "Gwlocked" << false << "Gwlocked.ttf" << "" << false
                                                         << "printer";
    }
    void addedFontsDrawFromTheirFiles()
    {
        QFETCH(QString, family);
        QFETCH(bool, bold);
        QFETCH(QString, drawnFrom);
        QFETCH(QString, embedded);
        QFETCH(bool, forDrawing);
        QFETCH(QString, target);
        const bool pdf = target != "picture";
        if ((!embedded.isEmpty() && target == "printer") || family == "Gwlocked")
            env_->UseDesktopPlatform();
        struct Made { const char *installed, *family, *full, *style; int weight; };
        QStringList added;
        for (const Made& m : {Made{"LiberationSans-Regular.ttf", "Gwraw Sans", "Gwraw Sans", "Regular", 400},
                              Made{"LiberationSans-Bold.ttf", "Gwraw Sans", "Gwraw Sans Bold", "Bold", 700},
                              Made{"NimbusSans-Regular.otf", "Gwraw Cff", "Gwraw Cff", "Regular", 400},
                              Made{"LiberationSans-Regular.ttf", "Gwlocked", "Gwlocked", "Regular", 400}}) {
            const QString file = env_->root() + "/" + m.full + "." + QFileInfo(m.installed).suffix();
            const QByteArray source = ReadFile(SystemFile(m.installed));
            QByteArray font = SfntBuilder::Renamed(source, m.family, m.full, m.style);
            TableEntry os2;  // Gwlocked: a licence that forbids embedding
            if (m.family == QString("Gwlocked") && FindTable(BoundedReader(font), 0, "OS/2", os2))
                qToBigEndian<quint16>(0x0002, font.data() + os2.offset + 8);
            QVERIFY(WriteFile(file, font));
            if (env_->fake.fonts)
                env_->fake.fonts->addedFaces << FakeFontSystem::MakeFace(m.family, m.full, {}, m.weight, false,
                                                                         TRUETYPE_FONTTYPE, file);
            QCOMPARE(forDrawing ? Sys().fonts->AddFontForDrawing(file) : Sys().fonts->AddFontResource(file), 1);
            added << file;
        }
        auto qtLists = [&] { return QFontDatabase::families().contains(family, Qt::CaseInsensitive); };
        if (!embedded.isEmpty() && target == "printer")
            QCOMPARE(qtLists(), !forDrawing);
        auto removeAdded = qScopeGuard([&] {
            for (const QString& file : added)
                Sys().fonts->RemoveFontResource(file);
        });
        QImage page(576, 756, QImage::Format_RGB32);  // 72 dpi: a pixel a point
        const QString pdfFile = env_->root() + "/added.pdf";
        const std::unique_ptr<QPrinter> qtPdf = PdfDevice(pdfFile);
        std::unique_ptr<PrinterSurface> printer;
        if (target == "PDF file")
            printer = PdfSurface::Create(pdfFile, PaperLetter);
        else if (target == "printer")
            printer = QtPrinterSurface::ForDevice(qtPdf.get());
        else
            printer = QtPrinterSurface::ForImage(&page, PaperLetter);
        QVERIFY(printer->SetFontName(family));
        printer->SetFontSize(24);
        printer->SetFontBold(bold);
        printer->SetScaleMode(ScalePoints);
        QVERIFY(printer->HasGlyph('Q') && printer->HasGlyph(255) && !printer->HasGlyph(129) && !printer->HasGlyph(256));
        printer->SetCurrent(100, 100);
        printer->Print("Quartz\u4e00");  // the last one not in the font: its own .notdef
        const double width = printer->CurrentX() - 100;
        printer->SetFontSize(12);  // a size set last applies as well; none of 0 or less is taken
        printer->SetFontSize(0);
        printer->SetFontSize(-1);
        QVERIFY2(qAbs(2 * printer->TextWidth("Quartz\u4e00") - width) < 0.02 * width, qPrintable(QString::number(width)));
        // A family not added next (a caption) is measured in its own face, not the last added one's.
        QVERIFY(printer->SetFontName("Liberation Serif"));
        printer->SetFontBold(false);
        QFont serif("Liberation Serif");
        serif.setPixelSize(12);  // a pixel a point
        const double serifWidth = QFontMetricsF(serif).horizontalAdvance("Quartz");
        QVERIFY2(qAbs(printer->TextWidth("Quartz") - serifWidth) < 0.05 * serifWidth,
                 qPrintable(QString("%1 against %2").arg(printer->TextWidth("Quartz")).arg(serifWidth)));
        printer->Finish(nullptr);
        if (forDrawing) {
            // Shown to Qt while drawn, in a list that still holds the installed fonts; gone once removed.
            QVERIFY(qtLists() && QFontDatabase::families().join('\n').contains("Nimbus Sans"));
            removeAdded.dismiss();
            Sys().fonts->RemoveFontResource(added[0]);  // not the file shown, which stays
            QVERIFY(qtLists());
            for (const QString& file : added.mid(1))
                Sys().fonts->RemoveFontResource(file);
            QTRY_VERIFY(!qtLists());  // a listed font goes at the next turn of the event loop
            // A font added for drawing and then installed (a print run, then Install) is listed.
            QCOMPARE(Sys().fonts->AddFontForDrawing(added[2]), 1);
            QCOMPARE(Sys().fonts->AddFontResource(added[2]), 1);
            QVERIFY(QFontDatabase::families().contains("Gwraw Cff"));
            // Added for drawing twice (two print runs), a font stays unlisted.
            QCOMPARE(Sys().fonts->AddFontForDrawing(added[3]), 1);
            QCOMPARE(Sys().fonts->AddFontForDrawing(added[3]), 1);
            QVERIFY(!QFontDatabase::families().contains("Gwlocked"));
            for (const QString& file : {added[2], added[2], added[3], added[3]})
                Sys().fonts->RemoveFontResource(file);
        }
        if (pdf) {
            const QStringList fonts = PdfFonts(pdfFile);
            QVERIFY2(fonts.size() == (embedded.isEmpty() ? 0 : 1) && (fonts.isEmpty() || fonts[0].startsWith(embedded)),
                     qPrintable(fonts.join('\n')));
        }
        if (pdf && embedded.isEmpty()) {  // outlines, not text: the page is inked all the same, as wide as the text
            ToolOutput("pdftoppm", {"-r", "72", "-png", "-singlefile", pdfFile, env_->root() + "/added"});
            const QImage shown(env_->root() + "/added.png");
            QList<int> inked;
            for (int x = 0; x < shown.width(); ++x)
                if (Ink(shown, QRect(x, 0, 1, shown.height()), 128) > 0)
                    inked << x;
            QVERIFY2(!inked.isEmpty() && qAbs(inked.last() - inked.first() - width) < 0.1 * width,
                     qPrintable(QString("%1 inked columns for %2 points").arg(inked.size()).arg(width)));
        }
        if (drawnFrom.isEmpty())
            return;
        // As wide as the file's own glyphs (the missing one its .notdef), within rounding.
        const QRawFont raw(env_->root() + "/" + drawnFrom, 24, QFont::PreferNoHinting);
        double expected = 0;
        for (const QPointF& advance :
             raw.advancesForGlyphIndexes(raw.glyphIndexesForString("Quartz\u4e00"), QRawFont::KernedAdvances))
            expected += advance.x();
        QVERIFY2(qAbs(width - expected) < 0.1, qPrintable(QString("%1 against %2").arg(width).arg(expected)));
    }

    // On a printer a file's face that Qt knows by its family is embedded as text, also when the font
    // system names no maker for it.
    void printerEmbedsAFileFaceByItsFamily()
    {
        const QString file = SystemFile("LiberationSerif-Bold.ttf"), pdf = env_->root() + "/byfamily.pdf";
        env_->fake.fonts->faces << FakeFontSystem::MakeFace("Liberation Serif", "Liberation Serif Bold", "Bold", 700,
                                                            false, TRUETYPE_FONTTYPE, file);
        const std::unique_ptr<QPrinter> qtPdf = PdfDevice(pdf);
        auto printer = QtPrinterSurface::ForDevice(qtPdf.get());
        QVERIFY(!printer->SetFontFace(file, 0).isEmpty());
        printer->SetCurrent(72, 72);
        printer->Print("Quartz");
        QVERIFY(printer->Finish(nullptr));
        QVERIFY2(PdfFonts(pdf).filter("LiberationSerif-Bold ").size() == 1, qPrintable(PdfFonts(pdf).join('\n')));
    }

    // A family's font (a caption's) is loaded while the system matches within that family only,
    // once for each size and style: loaded later, it is weighed against every installed face.
    void familyFontLoadedWithinItsFamily()
    {
        const std::unique_ptr<QPrinter> qtPdf = PdfDevice(env_->root() + "/family.pdf");
        auto printer = QtPrinterSurface::ForDevice(qtPdf.get());
        QVERIFY(printer->SetFontName("Liberation Serif"));
        printer->SetFontSize(12);
        printer->SetCurrent(72, 72);
        printer->Print("Quartz");
        printer->TextWidth("Quartz");
        printer->SetFontBold(true);
        printer->Print("Quartz");
        printer->Finish(nullptr);
        QCOMPARE(env_->fake.fonts->matchedWithin, QStringList({"Liberation Serif", "Liberation Serif"}));
    }

    // A long run on a printer shows Qt a few of its fonts at a time; one drawn again after its turn comes back.
    void longRunShowsQtAFewFontsAtATime()
    {
        env_->UseDesktopPlatform();
        const int before = int(QFontDatabase::families().size());
        const QByteArray base = ReadFile(SystemFile("LiberationSans-Regular.ttf"));
        QStringList families;
        for (int i = 0; i < 70; ++i) {
            families << QString("Gwrun %1").arg(QChar('A' + i / 26)) + QChar('A' + i % 26);
            const QString file = env_->root() + "/run" + QString::number(i) + ".ttf";
            QVERIFY(WriteFile(file, SfntBuilder::Renamed(base, families.last(), families.last())));
            QCOMPARE(Sys().fonts->AddFontForDrawing(file), 1);
        }
        const QString pdf = env_->root() + "/run.pdf";
        const std::unique_ptr<QPrinter> qtPdf = PdfDevice(pdf);
        auto printer = QtPrinterSurface::ForDevice(qtPdf.get());
        printer->SetScaleMode(ScalePoints);
        int most = 0;
        for (int n = 0; n <= 70; ++n) {  // the first font again at the end
            const int i = n % 70;
            QVERIFY(printer->SetFontName(families[i]));
            printer->SetCurrent(72, 72 + 9 * i);
            printer->Print("Qz");
            most = std::max(most, int(QFontDatabase::families().size()) - before);
        }
        printer->Finish(nullptr);
        QVERIFY2(most > 0 && most <= 64, qPrintable(QString::number(most)));
        const QStringList embedded = PdfFonts(pdf);
        QCOMPARE(embedded.size(), 70);
        QVERIFY(embedded.filter(QRegularExpression("^Gwrun(AA|CR) ")).size() == 2);
    }

private:
    std::unique_ptr<TestEnv> env_;
};

QTEST_MAIN(TestQtPrinter)
#include "test_qtprinter.moc"