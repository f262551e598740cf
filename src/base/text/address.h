#pragma once

#include <QString>
#include <QStringView>

namespace text {

// An IPv4 address as the user means it, in the one spelling the datagrams go to and arrive from:
// blanks anywhere are dropped, each part is read as a decimal number whatever its leading zeros
// ("198.18.0.05" is 198.18.0.5), and full-width digits and dots count as their half-width forms.
// Two spellings of one host then compare equal as text. Anything that is not four parts of 0 to
// 255 comes back without its blanks, and never equals a sender's address.
QString dottedQuad(QStringView typed);

} // namespace text
