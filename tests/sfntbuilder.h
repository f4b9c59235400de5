#pragma once
// Builds small sfnt (TrueType) files byte by byte: an offset table, a table
// directory, any filler tables and a 'name' table. Everything can be bent out
// of shape to make damaged files.
#include <QByteArray>
#include <QList>
#include <QString>
#include <functional>
#include <optional>

namespace gw {

// One name record and its string as the file stores them.
struct SfntName {
    int platformId = 3;
    int encodingId = 1;
    int languageId = 0x409;
    int nameId = 0;
    QByteArray bytes;      // put into the string storage
    int length = -1;       // stored length; -1: bytes.size()
    int offset = -1;       // stored offset into the storage; -1: where bytes went
};

class SfntBuilder {
public:
    // A name stored as big-endian UTF-16 (Windows, US English unless told).
    SfntBuilder& AddName(int nameId, const QString& text, int platformId = 3,
                         int languageId = 0x409, int encodingId = 1);
    // A Windows US-English record of raw string bytes, length and offset as given.
    SfntBuilder& AddRecord(int nameId, const QByteArray& bytes, int length = -1, int offset = -1);
    // Another table, listed and placed before 'name'.
    SfntBuilder& AddTable(const QByteArray& tag, const QByteArray& data);
    // Bytes between the name records and the string storage; stringOffset counts them.
    SfntBuilder& SetGap(const QByteArray& gap);

    // Values written in place of the computed ones.
    std::optional<int> numTables;        // offset table
    std::optional<qint64> nameOffset;    // the 'name' directory entry's offset
    std::optional<int> count;            // naming table header
    std::optional<int> stringOffset;     // naming table header

    QByteArray Build() const;
    // Where Build() puts the naming table.
    int NameTableOffset() const;

    static QByteArray Utf16BE(const QString& text);
    static QByteArray Utf16LE(const QString& text);

    // A well-formed font with a family (1), subfamily (2) and full name (4).
    static QByteArray Simple(const QString& family, const QString& fullName,
                             const QString& subfamily = QStringLiteral("Regular"));

    // An OS/2 table (version 0, 78 bytes) with embedding bits fsType and vendor "GWTS".
    static QByteArray Os2Table(int fsType);
    // A font with an OS/2 table, named as Simple makes it.
    static QByteArray WithEmbedding(const QString& family, int fsType);

    // A variable TrueType font: axes wght 100..900 (400) and wdth 75..100 (100), named instances "Thin" (100, 100)
    // and "Bold Condensed" (700, 75), OS/2, version, designer, licence and URL. Characters ' ' to '~' are boxes
    // 600 wide (Bold Condensed 450), stem 80 (Thin 10, Bold Condensed 140); "Thin" is also named in French.
    // A defaultWeight of 100 puts Thin at the default coordinates; a psPrefix is stored as the
    // instances' PostScript name prefix (name 25).
    static QByteArray VariableFont(const QString& family, int fsType, int defaultWeight = 400,
                                   const QString& psPrefix = QString());

    // A collection ("ttcf" header, version 1.0) of whole font files, each
    // placed after the header with its table offsets counted from the file's start.
    static QByteArray Collection(const QList<QByteArray>& fonts);
    // A real font file (sfnt) with its naming table replaced: family (1),
    // subfamily (2), full name (4) and PostScript name (6); empty when font is
    // not an sfnt. Makes many distinct installable fonts from one.
    static QByteArray Renamed(const QByteArray& font, const QString& family, const QString& fullName,
                              const QString& subfamily = QStringLiteral("Regular"));

    // The file of a builder set up by `setUp`.
    static QByteArray Make(const std::function<void(SfntBuilder&)>& setUp);

private:
    QByteArray BuildNameTable() const;
    struct Table {
        QByteArray tag;
        QByteArray data;
    };
    QList<SfntName> names_;
    QList<Table> tables_;
    QByteArray gap_;
};

} // namespace gw
