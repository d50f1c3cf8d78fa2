#include "wordimport/importcommand.h"

#include "wordimport/importwords.h"

#include <QCommandLineParser>

namespace veltrano {

int runImportCommand(const QStringList& arguments, QTextStream& out, QTextStream& err,
                     const ImportTarget& defaults) {
    QCommandLineParser parser;
    const QCommandLineOption file(QStringLiteral("import"), QString(), QStringLiteral("FILE"));
    const QCommandLineOption module(QStringLiteral("module"), QString(), QStringLiteral("N"));
    parser.addOptions({file, module});
    const auto usage = [&](const QString& problem) {
        err << problem << "\nUsage: veltrano --import FILE [--module N]\n"
            << "  FILE  an Anki package (.apkg, .colpkg), an Anki text export (.txt) or a CSV\n"
            << "        or TSV file (.csv, .tsv) with a word and its meaning on each row\n"
            << "  N     the module the words go into: 4 (A) to 25 (New Words, the default),\n"
            << "        or \"letter\" for each word into the module of its first letter\n";
        err.flush();
        return 2;
    };
    if (!parser.parse(arguments))
        return usage(parser.errorText());
    if (!parser.positionalArguments().isEmpty())
        return usage(QStringLiteral("Unknown argument: %1").arg(parser.positionalArguments()[0]));
    if (!parser.isSet(file))
        return usage(QStringLiteral("No file to import words from."));

    ImportTarget target = defaults;
    if (parser.isSet(module)) {
        const QString value = parser.value(module);
        bool number = false;
        target.module = value.toInt(&number);
        target.byLetter = value == u"letter";
        if (!number && !target.byLetter)
            return usage(
                QStringLiteral("--module takes a number or \"letter\", not %1").arg(value));
    }
    const ImportResult result = importWords(parser.value(file), target);
    (result.ok ? out : err) << result.message << '\n';
    out.flush();
    err.flush();
    return result.ok ? 0 : 1;
}

} // namespace veltrano
