#include "base/settings/optfile.h"

#include "base/text/quotedfields.h"

#include <variant>

namespace settings {
namespace {

using O = core::Options;
// A flag the file keeps as "True" or "False".
struct TrueFalse {
    bool O::*flag;
};
// A flag the file keeps as the text of a number, "1" or "0".
struct NumberText {
    qint32 O::*flag;
};
using Member = std::variant<QString O::*, qint32 O::*, TrueFalse, NumberText>;

// The fields in file order, line by line; one line is one group of the reader.
const QList<QList<Member>> &groups()
{
    static const QList<QList<Member>> table{
        {&O::iconNo},
        {&O::sendConfirm, &O::sendConfirmMin, &O::recvConfirm, &O::recvConfirmMin, &O::rejectOthers,
         &O::addOnHold},
        {&O::pwEnabled, &O::password, &O::pwCurrentEntry, &O::pwNewEntry},
        {TrueFalse{&O::posCenter}, TrueFalse{&O::posLeftUp}, TrueFalse{&O::posLeftLow},
         TrueFalse{&O::posRightUp}, TrueFalse{&O::posRightLow}},
        {&O::randomIcon},
        {&O::userName, &O::autoErase, &O::logEnabled, &O::tipEnabled, &O::tipText, &O::startLocked,
         &O::notifyStartEnd, NumberText{&O::blinkIcon}, &O::sendTitle, &O::logSave},
        {&O::fontName, &O::fontSize, &O::fontColor, TrueFalse{&O::fontItalic}, TrueFalse{&O::fontBold},
         TrueFalse{&O::fontUnderline}, TrueFalse{&O::fontStrikethru}, &O::backColor},
    };
    return table;
}

const QString kMarker = QStringLiteral("optFile");
const QString kFileName = QStringLiteral("optFile.dat");
// More than any options file holds; a larger file is not ours, and its head is enough to say so.
constexpr qint64 kMaxFileBytes = 16 * 1024 * 1024;

} // namespace

OptionsFileState parseOptions(const QByteArray &bytes, core::Options &opt)
{
    text::QuotedFieldReader reader(bytes);
    if (reader.next() != kMarker)
        return OptionsFileState::Foreign;
    for (const QList<Member> &group : groups()) {
        // The end of the file is looked for only between groups; one that ends inside a group
        // leaves the group's remaining fields at their defaults.
        if (reader.atEnd())
            break;
        for (const Member &member : group) {
            if (const auto *textField = std::get_if<QString O::*>(&member)) {
                if (const std::optional<QString> value = reader.next())
                    opt.*(*textField) = *value;
            } else if (const auto *trueFalse = std::get_if<TrueFalse>(&member)) {
                // "True"/"False" in any case, or a number (non-zero is true).
                if (const std::optional<QString> value = reader.next())
                    opt.*(trueFalse->flag) = core::truthOf(*value);
            } else if (const auto *numberText = std::get_if<NumberText>(&member)) {
                // The number as it stands, so that it is written back the same; a word counts as
                // the number of what it says.
                if (const std::optional<QString> value = reader.next()) {
                    bool isNumber = false;
                    const qint32 number = value->trimmed().toInt(&isNumber);
                    opt.*(numberText->flag) = isNumber ? number : (core::truthOf(*value) ? 1 : 0);
                }
            } else if (const std::optional<qint32> value = reader.nextNumber()) {
                opt.*std::get<qint32 O::*>(member) = *value;
            }
        }
    }
    // Protection without a password (a hand-edited or damaged file) would lock the user out for
    // good: no typed password could ever match.
    if (opt.password.isEmpty())
        opt.pwEnabled = 0;
    return OptionsFileState::Read;
}

QByteArray formatOptions(const core::Options &opt)
{
    QList<QList<text::Field>> lines{{kMarker}};
    for (const QList<Member> &group : groups()) {
        QList<text::Field> line;
        for (const Member &member : group) {
            if (const auto *textField = std::get_if<QString O::*>(&member))
                line.append(opt.*(*textField));
            else if (const auto *trueFalse = std::get_if<TrueFalse>(&member))
                line.append(opt.*(trueFalse->flag) ? QStringLiteral("True") : QStringLiteral("False"));
            else if (const auto *numberText = std::get_if<NumberText>(&member))
                line.append(QString::number(opt.*(numberText->flag)));
            else
                line.append(opt.*std::get<qint32 O::*>(member));
        }
        lines.append(line);
    }
    return text::writeQuotedLines(lines);
}

void readOptionsFile(core::Context &context)
{
    core::Options &opt = context.opt;
    opt = core::Options{};
    opt.fontName = context.services.defaultFontName;

    const QString path = context.dataFile(kFileName);
    // A save cut off by a crash leaves its temporary file, password and all, beside the file.
    context.services.files.removeReplaceLeftovers(path);
    QByteArray bytes;
    switch (context.services.files.read(path, bytes, kMaxFileBytes)) {
    case platform::FileResult::Ok:
        break;
    case platform::FileResult::Missing:
        return;
    default:
        // A file that is there but cannot be read is passed over like a missing one.
        return;
    }
    if (parseOptions(bytes, opt) == OptionsFileState::Foreign) {
        context.box(QStringLiteral("ミルトアンヌのﾌｧｲﾙではありません"), platform::box::okOnly,
                    core::kErrorTitle);
        return;
    }

    int set = -1;
    if (opt.picksRandomIcons()) {
        set = context.random(core::kIconSets);
        opt.iconNo = QString::number(set);
    } else {
        bool ok = false;
        set = opt.iconNo.trimmed().toInt(&ok);
        if (!ok)
            set = -1;
    }
    // A number outside the ten sets names no picture; the windows keep their own.
    if (set >= 0 && set < core::kIconSets)
        context.applyIconSet(set);
    if (opt.startsLocked())
        context.menu.lock();
}

bool writeOptionsFile(core::Context &context)
{
    const QByteArray bytes = formatOptions(context.opt);
    const QString path = context.dataFile(kFileName);
    // The file holds the password in clear, so only its owner may read it.
    const platform::FileResult result =
        context.withDiskRetry([&] { return context.services.files.replace(path, bytes, true); },
                              QStringLiteral("ﾃﾞｨｽｸの空き容量が不足しています。"), core::kErrorTitle);
    return result == platform::FileResult::Ok;
}

} // namespace settings
