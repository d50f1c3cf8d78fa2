#include "wordimport/importwords.h"

#include "wordimport/ankipackage.h"
#include "wordimport/moduleappender.h"
#include "wordimport/moduleletters.h"
#include "wordimport/textwordfile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLocale>
#include <QSaveFile>

#include <map>
#include <memory>
#include <vector>

namespace veltrano {

namespace {

WordList readWords(const QString& path) {
    const QFileInfo info(path);
    if (!info.exists())
        return WordList::failure(QStringLiteral("does not exist"));
    if (!info.isFile())
        return WordList::failure(QStringLiteral("is not a file"));
    const QString suffix = info.suffix().toLower();
    if (suffix == u"apkg" || suffix == u"colpkg")
        return AnkiPackage::read(path);
    const QChar separator = suffix == u"csv" ? u',' : u'\t';
    if (suffix != u"txt" && suffix != u"csv" && suffix != u"tsv")
        return WordList::failure(QStringLiteral(
            "is not a kind of file words are imported from (.apkg, .colpkg, .txt, .csv, .tsv)"));
    if (info.size() > AnkiPackage::maxUnpackedBytes)
        return WordList::failure(QStringLiteral("is larger than %1 MB")
                                     .arg(AnkiPackage::maxUnpackedBytes / (1024 * 1024)));
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return WordList::failure(QStringLiteral("cannot be read (%1)").arg(file.errorString()));
    return TextWordFile::read(file.readAll(), separator);
}

// "A", "A and C", "A (3), C (1) and New Words (2)": where the words went.
QString moduleList(const std::map<int, ModuleAppender>& modules) {
    QStringList names;
    for (const auto& [number, module] : modules) {
        if (module.added() == 0)
            continue;
        names.append(ModuleLetters::name(number));
        if (modules.size() > 1)
            names.last() += QStringLiteral(" (%1)").arg(module.added());
    }
    const QString last = names.takeLast();
    return names.isEmpty() ? last
                           : names.join(QLatin1String(", ")) + QStringLiteral(" and ") + last;
}

QString summary(const ImportResult& result, const std::map<int, ModuleAppender>& modules,
                const ImportTarget& target) {
    QString text;
    if (result.imported == 0)
        text = target.byLetter ? QStringLiteral("No words imported")
                               : QStringLiteral("No words imported into %1")
                                     .arg(ModuleLetters::name(target.module));
    else
        text = QStringLiteral("%1 %2 imported into %3")
                   .arg(result.imported)
                   .arg(result.imported == 1 ? QStringLiteral("word") : QStringLiteral("words"),
                        moduleList(modules));
    if (result.cut > 0)
        text += QStringLiteral(", %1 of them cut to %2 characters")
                    .arg(result.cut)
                    .arg(QLocale(QLocale::English).toString(ModuleAppender::maxEntryLength));
    QStringList reasons;
    if (result.alreadyThere > 0)
        reasons.append(QStringLiteral("%1 already there").arg(result.alreadyThere));
    if (result.empty > 0)
        reasons.append(QStringLiteral("%1 empty").arg(result.empty));
    if (reasons.size() == 1)
        reasons[0] = reasons[0].section(u' ', 1); // "3 skipped (already there)"
    if (!reasons.isEmpty())
        text += QStringLiteral("; %1 skipped (%2)")
                    .arg(result.alreadyThere + result.empty)
                    .arg(reasons.join(QLatin1String(", ")));
    return text + u'.';
}

// Writes every module that gained words, each through a temporary file renamed over it; the
// renames come only once every temporary file is written. Empty, or what went wrong.
QString save(const std::map<int, ModuleAppender>& modules, const ImportTarget& target) {
    std::vector<std::unique_ptr<QSaveFile>> files; // discarded unless committed
    for (const auto& [number, module] : modules) {
        if (module.added() == 0)
            continue;
        if (!QDir().mkpath(target.userFolder))
            return QStringLiteral("cannot make the folder %1").arg(target.userFolder);
        auto& file = files.emplace_back(std::make_unique<QSaveFile>(module.userPath()));
        if (!file->open(QIODevice::WriteOnly) ||
            file->write(module.bytes()) != module.bytes().size())
            return QStringLiteral("cannot write %1 (%2)")
                .arg(module.userPath(), file->errorString());
    }
    for (const auto& file : files)
        if (!file->commit())
            return QStringLiteral("cannot write %1 (%2)")
                .arg(file->fileName(), file->errorString());
    return {};
}

} // namespace

ImportResult importWords(const QString& sourceFile, const ImportTarget& target) {
    ImportResult result;
    const auto failed = [&](const QString& subject, const QString& problem) {
        result = {};
        result.message = QStringLiteral("Nothing imported: %1.").arg(subject + u' ' + problem);
        return result;
    };
    if (!target.byLetter && !ModuleLetters::isModule(target.module))
        return failed(QStringLiteral("module %1").arg(target.module),
                      QStringLiteral("does not exist (modules are %1 to %2)")
                          .arg(ImportTarget::firstModule)
                          .arg(ImportTarget::newWords));
    const QString fileName = QFileInfo(sourceFile).fileName();
    const WordList list = readWords(sourceFile);
    if (list.failed())
        return failed(fileName, list.problem);

    std::map<int, ModuleAppender> modules;
    for (const WordEntry& entry : list.entries) {
        if (entry.word.isEmpty() || entry.meaning.isEmpty()) {
            ++result.empty;
            continue;
        }
        const int number = target.byLetter ? ModuleLetters::moduleFor(entry.word) : target.module;
        ModuleAppender& module = modules.try_emplace(number, number, target).first->second;
        if (const QString problem = module.problem(); !problem.isEmpty())
            return failed(ModuleLetters::name(number), problem);
        switch (module.add(entry.word + QStringLiteral(" - ") + entry.meaning)) {
        case ModuleAppender::Added::Cut:
            ++result.cut;
            [[fallthrough]];
        case ModuleAppender::Added::Whole:
            ++result.imported;
            break;
        case ModuleAppender::Added::AlreadyThere:
            ++result.alreadyThere;
            break;
        }
    }
    for (const auto& [number, module] : modules) {
        if (const QString problem = module.problem(); !problem.isEmpty())
            return failed(ModuleLetters::name(number), problem);
        if (module.added() > 0)
            result.modules.append(number);
    }
    if (const QString problem = save(modules, target); !problem.isEmpty())
        return failed(QStringLiteral("Veltrano"), problem);
    result.ok = true;
    result.message = summary(result, modules, target);
    return result;
}

} // namespace veltrano
