#include "Commands.h"

#include "Console.h"
#include "UnpackFolder.h"
#include "ValuesText.h"

#include "KAVPictureBudget.h"
#include "KAVThemeFile.h"
#include "KAVThemes.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QMap>
#include <QMetaEnum>
#include <QSaveFile>

namespace Commands {

namespace {

const QString ValuesFileName = QStringLiteral("values.txt");

// --- export ------------------------------------------------------------------------------------

const TkavUIStyle BuiltInLooks[] = {TkavUIStyle::MacOS, TkavUIStyle::WinXP, TkavUIStyle::DeepBlue,
                                    TkavUIStyle::Protein, TkavUIStyle::BlueGlass};

QString lookName(TkavUIStyle look)
{
    return QString::fromLatin1(QMetaEnum::fromType<TkavUIStyle>().valueToKey(int(look)));
}

QStringList lookNames()
{
    QStringList names;
    for (TkavUIStyle look : BuiltInLooks)
        names << lookName(look);
    return names;
}

int exportLook(const QStringList &arguments, Console &console)
{
    const QString &requested = arguments[0];
    const QString &output = arguments[1];
    const TkavUIStyle *look = nullptr;
    for (const TkavUIStyle &candidate : BuiltInLooks) {
        if (lookName(candidate).compare(requested, Qt::CaseInsensitive) == 0)
            look = &candidate;
    }
    if (!look) {
        // A look the tool does not have is a wrong call, like a wrong number of arguments.
        console.error(QStringLiteral("unknown look \"%1\"; the looks are %2\nUsage: kav-theme export LOOK FILE.kav")
                          .arg(requested, lookNames().join(QStringLiteral(", "))));
        return Usage;
    }

    TkavThemeFileWriter writer(output);
    for (int key = 1; key <= KavThemeKeyCount; ++key) {
        const QString name = Kav::KavThemeKeyName(key);
        switch (Kav::KavThemeKeyKind(key)) {
        case TkavType::Str: {
            // The picture resource is a whole bitmap file already: embed its bytes unchanged.
            const QString resource = QStringLiteral(":/looks/") + GetInsideThemeStr(*look, key);
            if (!QFile::exists(resource))
                return console.error(QStringLiteral("the built-in picture %1 of %2 is missing from this build")
                                         .arg(GetInsideThemeStr(*look, key), name));
            writer.AddFile(name, resource);
            break;
        }
        case TkavType::Bool:
            writer.AddBool(name, GetInsideThemeBool(*look, key));
            break;
        case TkavType::Int:
            writer.AddInteger(name, GetInsideThemeInt(*look, key));
            break;
        case TkavType::Color:
            writer.AddInteger(name, qint32(GetInsideThemeColor(*look, key).value));
            break;
        }
    }
    if (!writer.Save())
        return console.error(writer.errorString());
    return Done;
}

// --- dump --------------------------------------------------------------------------------------

QString kindName(TkavThemeFileKind kind)
{
    switch (kind) {
    case TkavThemeFileKind::File:
        return QStringLiteral("file");
    case TkavThemeFileKind::Integer:
        return QStringLiteral("integer");
    case TkavThemeFileKind::Boolean:
        return QStringLiteral("boolean");
    case TkavThemeFileKind::String:
        return QStringLiteral("string");
    }
    return {};
}

// Only the header is read: the entry's bytes are wrapped, not copied, and no pixel is decoded, so
// dump stays linear in the file's size however the entries' ranges overlap.
QString bitmapDescription(QByteArrayView bytes)
{
    const QByteArray wrapped = QByteArray::fromRawData(bytes.data(), bytes.size());
    const QSize size = Kav::KavPictureHeaderSize(wrapped);
    if (!size.isValid()) {
        if (!wrapped.startsWith("BM"))
            return QStringLiteral("not a bitmap");
        return QStringLiteral("not a bitmap: ") + Kav::KavPictureHeaderProblem(wrapped);
    }
    const QString description = QStringLiteral("bitmap %1x%2").arg(size.width()).arg(size.height());
    const QString refusal = Kav::KavPictureRefusal(size);
    return refusal.isEmpty() ? description : description + QStringLiteral(" \u2014 refused: ") + refusal;
}

QString notThemeFile(const QString &file)
{
    return QStringLiteral("\"%1\" is not a theme file").arg(file);
}

QString describe(const TkavThemeFileReader &reader, const TkavThemeFileReader::Entry &entry)
{
    switch (entry.kind) {
    case TkavThemeFileKind::File:
        return QStringLiteral("%1 bytes, %2")
            .arg(entry.dataSize)
            .arg(bitmapDescription(reader.data(entry)));
    case TkavThemeFileKind::String:
        return QStringLiteral("%1 bytes").arg(entry.dataSize);
    case TkavThemeFileKind::Integer:
        if (entry.name.endsWith(QLatin1String("Color"), Qt::CaseInsensitive))
            return QStringLiteral("%1 (BBGGRR %2)").arg(entry.number).arg(ValuesText::colorHex(quint32(entry.number)));
        return QString::number(entry.number);
    case TkavThemeFileKind::Boolean: {
        const QString value = entry.number != 0 ? QStringLiteral("true") : QStringLiteral("false");
        return entry.number > 1 ? QStringLiteral("%1 (byte %2)").arg(value).arg(entry.number) : value;
    }
    }
    return {};
}

int dump(const QStringList &arguments, Console &console)
{
    const QString &file = arguments[0];
    TkavThemeFileReader reader;
    const bool loaded = reader.Load(file);
    if (!loaded && !reader.isDamaged())
        return console.error(reader.errorString());
    if (reader.isForeign())
        return console.error(notThemeFile(file));
    // Each entry is listed by its own data (entries may share a name); a damaged file lists what
    // came before the damage.
    for (const auto &entry : reader.entries())
        console.line(QStringLiteral("%1 %2 %3").arg(kindName(entry.kind), -7).arg(entry.name, -32).arg(describe(reader, entry)));
    if (!loaded)
        return console.error(QStringLiteral("\"%1\" is damaged after %2 entries: %3")
                                 .arg(file)
                                 .arg(reader.entries().size())
                                 .arg(reader.errorString()));
    return Done;
}

// --- pack --------------------------------------------------------------------------------------

// Why the file is no bitmap that a theme file can carry, or an empty string. Only its start is
// read: the header is all a file theme looks at before drawing.
QString bitmapFileProblem(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return file.errorString();
    return Kav::KavPictureHeaderProblem(file.read(64 * 1024));
}

int pack(const QStringList &arguments, Console &console)
{
    const QDir folder(arguments[0]);
    const QString &output = arguments[1];
    if (!QFileInfo(arguments[0]).isDir())
        return console.error(QStringLiteral("\"%1\" is no folder").arg(arguments[0]));

    QMap<int, QString> pictures; // key -> file
    const QFileInfoList files = folder.entryInfoList({QStringLiteral("*.bmp")}, QDir::Files | QDir::Readable | QDir::Hidden,
                                                     QDir::Name | QDir::IgnoreCase);
    for (const QFileInfo &file : files) {
        const QString base = file.completeBaseName();
        const int key = Kav::KavThemeKeyByName(base);
        if (key == 0)
            return console.error(QStringLiteral("%1: \"%2\" is no theme key name").arg(file.filePath(), base));
        if (Kav::KavThemeKeyKind(key) != TkavType::Str)
            return console.error(QStringLiteral("%1: %2 is no picture; give it in %3")
                                     .arg(file.filePath(), Kav::KavThemeKeyName(key), ValuesFileName));
        if (pictures.contains(key))
            return console.error(QStringLiteral("%1 and %2 are both the picture %3")
                                     .arg(pictures[key], file.filePath(), Kav::KavThemeKeyName(key)));
        const QString problem = bitmapFileProblem(file.filePath());
        if (!problem.isEmpty())
            return console.error(QStringLiteral("%1 is not a readable bitmap file: %2").arg(file.filePath(), problem));
        pictures.insert(key, file.filePath());
    }

    QMap<int, qint32> values;
    const QString valuesPath = folder.filePath(ValuesFileName);
    if (QFileInfo::exists(valuesPath)) {
        QFile valuesFile(valuesPath);
        if (!valuesFile.open(QIODevice::ReadOnly | QIODevice::Text))
            return console.error(QStringLiteral("cannot read %1: %2").arg(valuesPath, valuesFile.errorString()));
        QString error;
        if (!ValuesText::parse(QString::fromUtf8(valuesFile.readAll()), values, error))
            return console.error(QStringLiteral("%1: %2").arg(valuesPath, error));
    }

    // A theme without a single picture draws nothing; an empty or wrong folder is far likelier
    // than a wish for such a file.
    if (pictures.isEmpty())
        return console.error(QStringLiteral("\"%1\" holds no pictures (NAME.bmp, see kav-theme help pack); "
                                            "nothing written")
                                 .arg(arguments[0]));

    // Entries go in key order, as export writes them, so that unpacking and packing a file gives
    // the same bytes.
    TkavThemeFileWriter writer(output);
    for (auto it = pictures.cbegin(); it != pictures.cend(); ++it)
        writer.AddFile(Kav::KavThemeKeyName(it.key()), it.value());
    for (auto it = values.cbegin(); it != values.cend(); ++it) {
        if (Kav::KavThemeKeyKind(it.key()) == TkavType::Bool)
            writer.AddBool(Kav::KavThemeKeyName(it.key()), it.value() != 0);
        else
            writer.AddInteger(Kav::KavThemeKeyName(it.key()), it.value());
    }
    if (!writer.Save())
        return console.error(writer.errorString());
    return Done;
}

// --- unpack ------------------------------------------------------------------------------------

// The entry kind under which a theme file holds a key.
TkavThemeFileKind entryKindOf(TkavType kind)
{
    switch (kind) {
    case TkavType::Str:
        return TkavThemeFileKind::File;
    case TkavType::Bool:
        return TkavThemeFileKind::Boolean;
    case TkavType::Int:
    case TkavType::Color:
        break;
    }
    return TkavThemeFileKind::Integer;
}

int unpack(const QStringList &arguments, Console &console)
{
    const QString &file = arguments[0];
    const QString &folderPath = arguments[1];
    TkavThemeFileReader reader;
    if (!reader.Load(file)) {
        if (reader.isForeign())
            return console.error(notThemeFile(file));
        if (reader.isDamaged())
            return console.error(QStringLiteral("\"%1\" is damaged: %2 (nothing written; \"kav-theme dump\" lists "
                                                "what can be read)")
                                     .arg(file, reader.errorString()));
        return console.error(reader.errorString());
    }
    QMap<int, QByteArray> pictures;
    QMap<int, qint32> values;
    for (const auto &entry : reader.entries()) {
        const int key = Kav::KavThemeKeyByName(entry.name);
        if (key == 0) {
            console.warning(QStringLiteral("skipped the %1 entry \"%2\": no theme key has that name")
                                .arg(kindName(entry.kind), entry.name));
            continue;
        }
        const TkavType kind = Kav::KavThemeKeyKind(key);
        if (entry.kind != entryKindOf(kind)) {
            console.warning(QStringLiteral("skipped the %1 entry \"%2\": that key is held in a %3 entry")
                                .arg(kindName(entry.kind), entry.name, kindName(entryKindOf(kind))));
            continue;
        }
        if (pictures.contains(key) || values.contains(key)) {
            console.warning(QStringLiteral("skipped a second entry \"%1\": the first one is in use").arg(entry.name));
            continue;
        }
        if (kind == TkavType::Str)
            pictures.insert(key, reader.GetFile(entry.name).value_or(QByteArray()));
        else
            values.insert(key, entry.number);
    }

    QString text;
    for (auto it = values.cbegin(); it != values.cend(); ++it)
        text += Kav::KavThemeKeyName(it.key()) + u'=' + ValuesText::format(Kav::KavThemeKeyKind(it.key()), it.value()) + u'\n';

    // Every place is looked at before anything is written: a link or a folder where a file is
    // to go stops the unpack with the folder as it was.
    QStringList fileNames;
    for (auto it = pictures.cbegin(); it != pictures.cend(); ++it)
        fileNames << Kav::KavThemeKeyName(it.key()) + QStringLiteral(".bmp");
    fileNames << ValuesFileName;
    QString error;
    UnpackFolder folder;
    if (!folder.open(folderPath, error))
        return console.error(error);
    for (const QString &fileName : std::as_const(fileNames)) {
        if (!folder.mayWrite(fileName, error))
            return console.error(error);
    }

    qsizetype index = 0;
    for (auto it = pictures.cbegin(); it != pictures.cend(); ++it, ++index) {
        if (!folder.write(fileNames[index], it.value(), error))
            return console.error(error);
        if (bitmapDescription(it.value()).startsWith(QLatin1String("not a bitmap")))
            console.warning(QStringLiteral("%1 holds no readable bitmap; pack will refuse it")
                                .arg(folder.filePath(fileNames[index])));
    }
    if (!folder.write(ValuesFileName, text.toUtf8(), error))
        return console.error(error);
    return Done;
}

// --- help --------------------------------------------------------------------------------------

int help(const QStringList &arguments, Console &console);

const QList<Command> Table = {
    {"export", "export LOOK FILE.kav", "write a built-in look as a theme file",
     "Writes all 42 theme values of a built-in look into FILE.kav, each under its key name:\n"
     "pictures as whole bitmap files, integers and colours as integer entries, flags as\n"
     "Boolean entries. LOOK is one of MacOS, WinXP, DeepBlue, Protein, BlueGlass (any case).\n",
     2, exportLook},
    {"dump", "dump FILE.kav", "list every entry of a theme file",
     "Lists the entries of FILE.kav in file order, one a line: kind, name, and the size\n"
     "(files, strings) or the value (integers in decimal, and for names ending in Color also\n"
     "as BBGGRR hex; Booleans as true or false). For a damaged file it lists the entries\n"
     "before the damage, then says what is wrong and exits with status 1.\n",
     1, dump},
    {"pack", "pack DIR FILE.kav", "make a theme file from a folder",
     "Makes FILE.kav from the folder DIR:\n"
     "  NAME.bmp     one bitmap file per picture key (ButtonImage.bmp, ...)\n"
     "  values.txt   NAME=value lines for the integer, colour and Boolean keys;\n"
     "               blank lines and lines starting with # are ignored\n"
     "Values: integers in decimal (-2); colours as six hex digits BBGGRR (7F7F7F, blue\n"
     "first), as 0x and up to eight hex digits, or as a decimal number of any other length;\n"
     "Booleans as true, false, 1 or 0. Keys left out are left out of the file (a file theme\n"
     "answers them with -1, False or no picture). Other files in DIR are ignored. A folder\n"
     "without a single picture is refused.\n",
     2, pack},
    {"unpack", "unpack FILE.kav DIR", "write a theme file's pictures and values into a folder",
     "Writes each picture of FILE.kav to DIR/NAME.bmp and the integers, colours and Booleans\n"
     "to DIR/values.txt, in the form pack reads. DIR is made when missing. Entries that\n"
     "are no theme key, or not of their key's kind, are skipped with a warning; a damaged\n"
     "file is refused.\n"
     "Nothing is written through a symbolic link: DIR itself must not be one, and a link,\n"
     "folder or other non-regular file where a file is to go stops unpack before anything\n"
     "is written. Existing regular files are replaced: each file is written under a new\n"
     "name and then renamed into place.\n",
     2, unpack},
    {"help", "help [COMMAND]", "show this help, or the help of one command", "Shows the help of COMMAND.\n", -1,
     help},
};

int help(const QStringList &arguments, Console &console)
{
    if (arguments.isEmpty()) {
        console.line(overviewHelp());
        return Done;
    }
    if (arguments.size() > 1) {
        console.error(QStringLiteral("help takes at most one command"));
        return Usage;
    }
    const Command *command = find(arguments[0]);
    if (!command) {
        console.error(QStringLiteral("unknown command \"%1\"; see kav-theme --help").arg(arguments[0]));
        return Usage;
    }
    console.line(commandHelp(*command));
    return Done;
}

} // namespace

const QList<Command> &all()
{
    return Table;
}

const Command *find(const QString &name)
{
    for (const Command &command : Table) {
        if (name == QLatin1String(command.name))
            return &command;
    }
    return nullptr;
}

QString overviewHelp()
{
    QString text = QStringLiteral("Usage: kav-theme COMMAND ARGUMENTS...\n\n"
                                  "Makes, lists, packs and unpacks theme files (.kav).\n\n"
                                  "Commands:\n");
    for (const Command &command : Table)
        text += QStringLiteral("  %1 %2\n").arg(QLatin1String(command.synopsis), -22).arg(QLatin1String(command.summary));
    text += QStringLiteral("\n\"kav-theme help COMMAND\" tells more about one command.\n"
                           "\"kav-theme --version\" tells the version.\n"
                           "Exit status: 0 done, 1 the command failed, 2 called wrongly.");
    return text;
}

QString commandHelp(const Command &command)
{
    return QStringLiteral("Usage: kav-theme %1\n\n%2").arg(QLatin1String(command.synopsis), QLatin1String(command.details)).trimmed();
}

} // namespace Commands
