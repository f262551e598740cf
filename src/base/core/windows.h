#pragma once

#include "base/core/icons.h"

#include <QObject>
#include <QString>

#include <memory>

namespace core {

// How a message box draws its text: the font and colour options, as the boxes take them.
struct TextStyle {
    QString fontName;
    double fontSize = 9;
    quint32 color = 0; // 24-bit, red in the low byte
    bool italic = false;
    bool bold = false;
    bool underline = false;
    bool strikethru = false;
    quint32 backColor = 0xFFFFFF;

    friend bool operator==(const TextStyle &, const TextStyle &) = default;
};

// What a window shows, kept apart from the widget so that the handlers work the same whether the
// window exists on screen or not, and tests can read it without a display. The window's widget
// follows its model: it is refreshed on `changed` while visible and whenever it is shown.
class WindowModel : public QObject {
    Q_OBJECT
public:
    WindowModel(QString caption, IconId icon) : m_caption(std::move(caption)), m_icon(icon) {}

    const QString &caption() const { return m_caption; }
    void setCaption(const QString &caption);
    IconId icon() const { return m_icon; }
    void setIcon(IconId icon);

    bool isVisible() const { return m_visible; }
    // Shows the window, placed by the placement rule when it is in its normal state.
    void show();
    void hide();

signals:
    void changed();
    void visibilityChanged(bool visible);

private:
    QString m_caption;
    IconId m_icon;
    bool m_visible = false;
};

// A window model with the contents of its controls in one plain record.
template <typename View> class ViewModel : public WindowModel {
public:
    ViewModel(QString caption, IconId icon) : WindowModel(std::move(caption), icon) {}

    const View &view() const { return m_view; }
    template <typename Edit> void edit(Edit &&change)
    {
        change(m_view);
        emit changed();
    }
    // For what the widget itself already shows (text the user typed): no refresh is asked for.
    template <typename Edit> void editQuietly(Edit &&change) { change(m_view); }

private:
    View m_view;
};

// A window that is unloaded when it closes: touching it loads it again, hidden, with its design
// contents. Its widget is made when it loads and goes with it.
class WindowSlotBase : public QObject {
    Q_OBJECT
public:
    virtual bool isLoaded() const = 0;
    // The model while the window is loaded, else null.
    virtual WindowModel *loadedModel() const = 0;
    virtual void unload() = 0;

signals:
    void loaded();
    void unloading();
};

template <typename Model> class WindowSlot final : public WindowSlotBase {
public:
    Model &get()
    {
        if (!m_model) {
            m_model = std::make_unique<Model>();
            emit loaded();
        }
        return *m_model;
    }
    bool isLoaded() const override { return m_model != nullptr; }
    Model *ifLoaded() const { return m_model.get(); }
    WindowModel *loadedModel() const override { return m_model.get(); }
    void unload() override
    {
        if (!m_model)
            return;
        emit unloading();
        m_model.reset();
    }

private:
    std::unique_ptr<Model> m_model;
};

} // namespace core
