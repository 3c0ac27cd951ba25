// velmora_reg: reads, writes, lists, deletes and exports the values of the
// user's settings store from the command line.
//
// Exit codes: 0 done, 1 the key or value does not exist, 2 bad input,
// 3 the store could not be used.

#include "foundation/text_to_value.h"
#include "platform/exception.h"
#include "platform/settings_key_path.h"
#include "platform/settings_store.h"

#include <QCoreApplication>
#include <QLocale>
#include <QStringList>
#include <QTextStream>

#include <cmath>

using velmora::Exception;
using velmora::platform::SettingsKeyPath;
using velmora::platform::SettingsStore;
using velmora::platform::SettingsValueType;

namespace {

enum ExitCode { kDone = 0, kNotFound = 1, kBadInput = 2, kStoreFailed = 3 };

const char kUsage[] = R"(usage: velmora_reg get KEY NAME
       velmora_reg set KEY NAME TYPE VALUE
       velmora_reg list KEY
       velmora_reg delete KEY [NAME]
       velmora_reg export [KEY]
KEY is relative to HKEY_CURRENT_USER, with backslashes, e.g.
  Software\Quorvane\Velmora\3.0\Display
TYPE is sz (text), dword (32-bit integer), float (64-bit) or binary (hex digits, e.g. 0aff).
)";

// Bad input from the command line: told to the user with exit code 2.
struct BadInput {
    QString message;
    bool withUsage = false;
};

// A key or value the command names does not exist: exit code 1.
struct NotFound {
    QString message;
};

QTextStream& out()
{
    static QTextStream stream(stdout);
    return stream;
}

QTextStream& err()
{
    static QTextStream stream(stderr);
    return stream;
}

QString checkedKey(const QString& key)
{
    try {
        return SettingsKeyPath(key).text();
    } catch (const Exception& error) {
        throw BadInput{error.message()};
    }
}

QString floatText(double value)
{
    return QString::number(value, 'g', QLocale::FloatingPointShortest);
}

QString plainValue(const SettingsStore& store, const QString& key, const QString& name, SettingsValueType type)
{
    switch (type) {
    case SettingsValueType::Text:
        return store.readText(key, name);
    case SettingsValueType::Integer:
        return QString::number(store.readInteger(key, name));
    case SettingsValueType::Float:
        return floatText(store.readFloat(key, name));
    case SettingsValueType::Binary:
        return QString::fromLatin1(store.readBinary(key, name).toHex());
    }
    return QString();
}

QString quoted(const QString& text)
{
    QString result = QStringLiteral("\"");
    for (QChar c : text) {
        switch (c.unicode()) {
        case '\\':
            result += QStringLiteral("\\\\");
            break;
        case '"':
            result += QStringLiteral("\\\"");
            break;
        case '\n':
            result += QStringLiteral("\\n");
            break;
        case '\r':
            result += QStringLiteral("\\r");
            break;
        case '\t':
            result += QStringLiteral("\\t");
            break;
        default:
            result += c;
        }
    }
    return result + QLatin1Char('"');
}

// One value on one line, whatever it holds: "name"=type:value.
QString valueLine(const SettingsStore& store, const QString& key, const QString& name, SettingsValueType type)
{
    QString value = plainValue(store, key, name, type);
    if (type == SettingsValueType::Text)
        value = quoted(value);
    return quoted(name) + QLatin1Char('=') + velmora::platform::settingsTypeName(type) + QLatin1Char(':') + value;
}

QString childPath(const QString& key, const QString& name)
{
    return key.isEmpty() ? name : key + QLatin1Char('\\') + name;
}

void requireKey(const SettingsStore& store, const QString& key)
{
    if (!store.keyExists(key))
        throw NotFound{QStringLiteral("the key \"%1\" does not exist").arg(key)};
}

int get(SettingsStore& store, const QString& key, const QString& name)
{
    const auto type = store.valueType(key, name);
    if (!type)
        throw NotFound{QStringLiteral("the value \"%1\" does not exist under \"%2\"").arg(name, key)};
    out() << plainValue(store, key, name, *type) << '\n';
    return kDone;
}

std::int32_t parseDword(const QString& text)
{
    try {
        return velmora::textToInteger(text);
    } catch (const Exception&) {
        throw BadInput{QStringLiteral("\"%1\" is not a 32-bit integer").arg(text)};
    }
}

double parseFloat(const QString& text)
{
    bool ok = false;
    const double value = QLocale::c().toDouble(text.trimmed(), &ok);
    if (!ok || !std::isfinite(value))
        throw BadInput{QStringLiteral("\"%1\" is not a number").arg(text)};
    return value;
}

QByteArray parseHex(const QString& text)
{
    if (text.size() % 2 != 0)
        throw BadInput{QStringLiteral("\"%1\" has an odd number of hex digits").arg(text)};
    for (QChar c : text) {
        if (c.unicode() >= 128 || !isxdigit(c.unicode()))
            throw BadInput{QStringLiteral("\"%1\" is not hex digits").arg(text)};
    }
    return QByteArray::fromHex(text.toLatin1());
}

int set(const QStringList& args)
{
    const QString key = checkedKey(args[0]);
    const QString& name = args[1];
    const auto type = velmora::platform::settingsTypeFromName(args[2]);
    if (!type)
        throw BadInput{QStringLiteral("unknown type \"%1\" (use sz, dword, float or binary)").arg(args[2]), true};
    const QString& text = args[3];
    // Everything is checked before the store is touched.
    switch (*type) {
    case SettingsValueType::Text:
        SettingsStore().writeText(key, name, text);
        break;
    case SettingsValueType::Integer: {
        const auto value = parseDword(text);
        SettingsStore().writeInteger(key, name, value);
        break;
    }
    case SettingsValueType::Float: {
        const double value = parseFloat(text);
        SettingsStore().writeFloat(key, name, value);
        break;
    }
    case SettingsValueType::Binary: {
        const QByteArray value = parseHex(text);
        SettingsStore().writeBinary(key, name, value);
        break;
    }
    }
    return kDone;
}

int list(SettingsStore& store, const QString& key)
{
    requireKey(store, key);
    for (const QString& sub : store.subKeys(key))
        out() << sub << "\\\n";
    for (const auto& value : store.values(key))
        out() << valueLine(store, key, value.name, value.type) << '\n';
    return kDone;
}

int remove(SettingsStore& store, const QString& key, const QStringList& name)
{
    if (name.isEmpty()) {
        if (SettingsKeyPath(key).isRoot())
            throw BadInput{QStringLiteral("the whole store cannot be deleted; name a key")};
        if (!store.deleteKey(key))
            throw NotFound{QStringLiteral("the key \"%1\" does not exist").arg(key)};
        return kDone;
    }
    if (!store.deleteValue(key, name.first()))
        throw NotFound{QStringLiteral("the value \"%1\" does not exist under \"%2\"").arg(name.first(), key)};
    return kDone;
}

void exportBranch(const SettingsStore& store, const QString& key)
{
    const auto values = store.values(key);
    if (!key.isEmpty() || !values.isEmpty()) {
        out() << '[' << key << "]\n";
        for (const auto& value : values)
            out() << valueLine(store, key, value.name, value.type) << '\n';
        out() << '\n';
    }
    for (const QString& sub : store.subKeys(key))
        exportBranch(store, childPath(key, sub));
}

int exportTree(SettingsStore& store, const QString& key)
{
    requireKey(store, key);
    exportBranch(store, key);
    return kDone;
}

int run(const QStringList& args)
{
    if (args.isEmpty())
        throw BadInput{QStringLiteral("no command given"), true};
    const QString command = args.first();
    const QStringList rest = args.mid(1);
    auto expect = [&](qsizetype least, qsizetype most) {
        if (rest.size() < least || rest.size() > most)
            throw BadInput{QStringLiteral("wrong number of arguments for \"%1\"").arg(command), true};
    };

    if (command == QLatin1String("get")) {
        expect(2, 2);
        const QString key = checkedKey(rest[0]);
        SettingsStore store;
        return get(store, key, rest[1]);
    }
    if (command == QLatin1String("set")) {
        expect(4, 4);
        return set(rest);
    }
    if (command == QLatin1String("list")) {
        expect(1, 1);
        const QString key = checkedKey(rest[0]);
        SettingsStore store;
        return list(store, key);
    }
    if (command == QLatin1String("delete")) {
        expect(1, 2);
        const QString key = checkedKey(rest[0]);
        SettingsStore store;
        return remove(store, key, rest.mid(1));
    }
    if (command == QLatin1String("export")) {
        expect(0, 1);
        const QString key = rest.isEmpty() ? QString() : checkedKey(rest[0]);
        SettingsStore store;
        return exportTree(store, key);
    }
    throw BadInput{QStringLiteral("unknown command \"%1\"").arg(command), true};
}

} // namespace

int main(int argc, char* argv[])
{
    QCoreApplication app(argc, argv);
    int code = kDone;
    try {
        code = run(app.arguments().mid(1));
    } catch (const BadInput& bad) {
        err() << "velmora_reg: " << bad.message << '\n';
        if (bad.withUsage)
            err() << kUsage;
        code = kBadInput;
    } catch (const NotFound& missing) {
        err() << "velmora_reg: " << missing.message << '\n';
        code = kNotFound;
    } catch (const std::exception& error) {
        err() << "velmora_reg: " << Exception::messageOf(error) << '\n';
        code = kStoreFailed;
    }
    out().flush();
    err().flush();
    return code;
}
