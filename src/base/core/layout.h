#pragma once

#include <QString>
#include <QStringList>

namespace core {

// A control's position and size in twips.
struct Box {
    int left = 0;
    int top = 0;
    int width = 0;
    int height = 0;

    friend bool operator==(const Box &, const Box &) = default;
};

// Takes the steps of a window's layout in order, leaving out the sizes a control would refuse:
// a negative width or height is not set, the control keeps its old value, and later steps that
// read it see the old value, as they would on screen. Positions may be negative.
class LayoutSteps final {
public:
    explicit LayoutSteps(QStringList &refused) : m_refused(refused) {}

    // Sets `field` to `value` unless the value is negative; returns whether it was set.
    bool size(int &field, int value, const char *name)
    {
        if (value < 0) {
            m_refused << QString::fromLatin1(name);
            return false;
        }
        field = value;
        return true;
    }

private:
    QStringList &m_refused;
};

} // namespace core
