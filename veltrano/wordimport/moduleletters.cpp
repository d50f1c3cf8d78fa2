#include "wordimport/moduleletters.h"

#include "wordimport/importtarget.h"

namespace veltrano {

bool ModuleLetters::isModule(int number) {
    return number >= ImportTarget::firstModule && number <= ImportTarget::newWords;
}

int ModuleLetters::moduleFor(QStringView word) {
    qsizetype at = 0;
    while (at < word.size() && (word[at].isPunct() || word[at].isSymbol() || word[at].isSpace()))
        ++at;
    if (at == word.size())
        return ImportTarget::newWords;
    const QString base = QString(word[at]).normalized(QString::NormalizationForm_D);
    const char16_t letter = base[0].toUpper().unicode();
    if (letter < u'A' || letter > u'Z')
        return ImportTarget::newWords;
    if (letter <= u'P')
        return ImportTarget::firstModule + (letter - u'A');
    static constexpr int fromQ[] = {20, 20, 21, 22, 22, 23, 23, 24, 24, 24};
    return fromQ[letter - u'Q'];
}

QString ModuleLetters::name(int number) {
    static const char* const fromQ[] = {"Q - R", "S", "T - U", "V - W", "X - Z", "New Words"};
    return number < 20 ? QString(QChar(u'A' + (number - ImportTarget::firstModule)))
                       : QString::fromLatin1(fromQ[number - 20]);
}

} // namespace veltrano
