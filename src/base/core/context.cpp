#include "base/core/context.h"

#include "base/text/cp932.h"

#include <QDir>
#include <QRandomGenerator>

namespace core {

Context::Context(const Services &s, Options &options, MenuModel &menu)
    : services(s), opt(options), menu(menu),
      random([](int n) { return static_cast<int>(QRandomGenerator::global()->bounded(n)); })
{
    opt.fontName = s.defaultFontName;
}

Context::~Context() = default;

QString Context::dataFile(const QString &name) const
{
    return platform::dataFilePath(services.programDir, name);
}

platform::FileResult Context::withDiskRetry(const std::function<platform::FileResult()> &operation,
                                            const QString &diskFullText, const QString &title)
{
    for (;;) {
        const platform::FileResult result = operation();
        if (result == platform::FileResult::Failed) {
            // Whatever the cause (no permission, a read-only disk, a quota, no free inode), the
            // user hears of it, with the file named so that it can be looked into.
            box(QStringLiteral("ﾌｧｲﾙを保存できませんでした。") + QChar(u'\r') +
                    QDir::toNativeSeparators(services.files.lastFailedFile()) + QChar(u'\r') +
                    QStringLiteral("(ﾌｧｲﾙまたはﾌｫﾙﾀﾞに書き込めません)"),
                platform::box::okOnly | platform::box::critical, title);
            return result;
        }
        if (result != platform::FileResult::DiskFull)
            return result;
        if (box(diskFullText, platform::box::retryCancel | platform::box::critical, title) !=
            platform::box::retry)
            return result;
    }
}

void Context::applyIconSet(int set)
{
    emit iconSetApplied(set);
}

void Context::followIconSet(WindowSlotBase &slot)
{
    connect(&slot, &WindowSlotBase::loaded, this,
            [this, &slot] { slot.loadedModel()->setIcon(IconId::normal(opt.iconSet())); });
    connect(this, &Context::iconSetApplied, &slot, [&slot](int set) {
        if (WindowModel *window = slot.loadedModel())
            window->setIcon(IconId::normal(set));
    });
}

TextStyle Context::textStyle() const
{
    TextStyle style;
    style.fontName = opt.fontName;
    bool ok = false;
    if (const double size = opt.fontSize.toDouble(&ok); ok && size > 0)
        style.fontSize = size;
    if (const quint32 color = opt.fontColor.toUInt(&ok); ok)
        style.color = color & 0xFFFFFF;
    style.italic = opt.fontItalic;
    style.bold = opt.fontBold;
    style.underline = opt.fontUnderline;
    style.strikethru = opt.fontStrikethru;
    if (const quint32 back = opt.backColor.toUInt(&ok); ok)
        style.backColor = back & 0xFFFFFF;
    return style;
}

void Context::applyTextStyles()
{
    const TextStyle style = textStyle();
    emit textStylesApplied(style);
}

int Context::box(const QString &text, int style, const QString &title)
{
    return services.dialogs.messageBox(text, style, title);
}

} // namespace core
