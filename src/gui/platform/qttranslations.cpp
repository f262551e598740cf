#include "gui/platform/qttranslations.h"

#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>

namespace platform {

bool installQtJapanese(QCoreApplication &app)
{
    auto *translator = new QTranslator(&app);
    // "qt" gathers the translations of every installed Qt module.
    if (!translator->load(QLocale(QLocale::Japanese, QLocale::Japan), QStringLiteral("qt"),
                          QStringLiteral("_"), QLibraryInfo::path(QLibraryInfo::TranslationsPath))) {
        delete translator;
        return false;
    }
    return QCoreApplication::installTranslator(translator);
}

} // namespace platform
