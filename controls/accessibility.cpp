// SPDX-License-Identifier: GPL-3.0-or-later
#include "accessibility.h"

#include "ctl_tabs.h"
#include "insane_progress.h"
#include "tab_layout.h"
#include "uni_command.h"
#include "uni_label.h"

#include <QAccessibleWidget>
#include <QCoreApplication>
#include <QHash>
#include <QKeySequence>
#include <QLocale>
#include <QPointer>
#include <QWindow>

namespace trelvik {

namespace {

// The widget's own accessible name when the host gave it one, else `fallback`.
QString NameOr(const QWidget *widget, const QString &fallback)
{
    return widget->accessibleName().isEmpty() ? fallback : widget->accessibleName();
}

// One tab of a strip; it lives as long as the strip's interface and is valid while the strip
// has that many tabs.
class TabAccessible : public QAccessibleInterface, public QAccessibleActionInterface
{
public:
    TabAccessible(ctlTabs *tabs, int index)
        : tabs_(tabs)
        , index_(index)
    {}

    int Index() const { return index_; }

    bool isValid() const override { return tabs_ && index_ < tabs_->Tabs(); }
    QObject *object() const override { return nullptr; }
    QWindow *window() const override { return tabs_ ? tabs_->window()->windowHandle() : nullptr; }
    QAccessibleInterface *parent() const override
    {
        return QAccessible::queryAccessibleInterface(tabs_.data());
    }
    QAccessibleInterface *child(int) const override { return nullptr; }
    int childCount() const override { return 0; }
    int indexOfChild(const QAccessibleInterface *) const override { return -1; }
    QAccessibleInterface *childAt(int, int) const override { return nullptr; }
    QAccessible::Role role() const override { return QAccessible::PageTab; }

    QString text(QAccessible::Text t) const override
    {
        return isValid() && t == QAccessible::Name ? tabs_->Caption(index_ + 1).value_or(QString())
                                                   : QString();
    }
    void setText(QAccessible::Text, const QString &) override {}

    QRect rect() const override
    {
        if (!isValid())
            return QRect();
        const QRect area = tabs_->TabRects().at(static_cast<size_t>(index_)).toQRect();
        return QRect(tabs_->mapToGlobal(area.topLeft()), area.size());
    }

    QAccessible::State state() const override
    {
        QAccessible::State state;
        if (!isValid()) {
            state.invalid = true;
            return state;
        }
        const bool selected = tabs_->SelectedTab() == index_ + 1;
        state.selectable = true;
        state.selected = selected;
        state.focusable = true;
        state.focused = selected && tabs_->hasFocus();
        state.disabled = !tabs_->isEnabled();
        state.invisible = !tabs_->isVisible() || rect().isEmpty();
        return state;
    }

    void *interface_cast(QAccessible::InterfaceType type) override
    {
        return type == QAccessible::ActionInterface
                   ? static_cast<QAccessibleActionInterface *>(this)
                   : nullptr;
    }
    QStringList actionNames() const override { return {pressAction()}; }
    void doAction(const QString &name) override
    {
        if (isValid() && tabs_->isEnabled() && name == pressAction())
            tabs_->SetSelectedTab(static_cast<qint16>(index_ + 1));
    }
    QStringList keyBindingsForAction(const QString &) const override { return {}; }

private:
    QPointer<ctlTabs> tabs_;
    int index_;
};

class TabsAccessible : public QAccessibleWidget
{
public:
    explicit TabsAccessible(ctlTabs *tabs)
        : QAccessibleWidget(tabs, QAccessible::PageTabList)
    {}
    ~TabsAccessible() override
    {
        for (const QAccessible::Id id : std::as_const(children_))
            QAccessible::deleteAccessibleInterface(id);
    }

    int childCount() const override { return Tabs()->Tabs(); }
    QAccessibleInterface *child(int index) const override
    {
        if (index < 0 || index >= childCount())
            return nullptr;
        if (const auto known = children_.constFind(index); known != children_.cend())
            return QAccessible::accessibleInterface(*known);
        auto *tab = new TabAccessible(Tabs(), index);
        children_.insert(index, QAccessible::registerAccessibleInterface(tab));
        return tab;
    }
    int indexOfChild(const QAccessibleInterface *child) const override
    {
        if (child == nullptr || child->role() != QAccessible::PageTab || child->parent() != this)
            return -1;
        return static_cast<const TabAccessible *>(child)->Index();
    }
    QAccessibleInterface *childAt(int x, int y) const override
    {
        const QPoint point = Tabs()->mapFromGlobal(QPoint(x, y));
        return child(HitTestTabs(Tabs()->TabRects(), point.x(), point.y()) - 1);
    }
    QAccessibleInterface *focusChild() const override
    {
        return Tabs()->hasFocus() ? child(Tabs()->SelectedTab() - 1) : nullptr;
    }

private:
    ctlTabs *Tabs() const { return static_cast<ctlTabs *>(widget()); }

    mutable QHash<int, QAccessible::Id> children_;
};

class ProgressAccessible : public QAccessibleWidget, public QAccessibleValueInterface
{
public:
    explicit ProgressAccessible(InsaneProgress *bar)
        : QAccessibleWidget(bar, QAccessible::ProgressBar)
    {}

    QString text(QAccessible::Text t) const override
    {
        if (t == QAccessible::Name)
            return NameOr(widget(),
                          QCoreApplication::translate("trelvik::InsaneProgress", "Progress"));
        if (t == QAccessible::Value) {
            const double percent = Bar()->Value() * 100 / maximumValue().toDouble();
            return QCoreApplication::translate("trelvik::InsaneProgress", "%1%")
                .arg(QLocale().toString(percent, 'f', 0));
        }
        return QAccessibleWidget::text(t);
    }
    void *interface_cast(QAccessible::InterfaceType type) override
    {
        return type == QAccessible::ValueInterface ? static_cast<QAccessibleValueInterface *>(this)
                                                   : QAccessibleWidget::interface_cast(type);
    }

    QVariant currentValue() const override { return Bar()->Value(); }
    // The program moves the bar; a reader cannot.
    void setCurrentValue(const QVariant &) override {}
    QVariant maximumValue() const override
    {
        return static_cast<double>(InsaneProgress::kMaxValueUnits / InsaneProgress::kValueScale);
    }
    QVariant minimumValue() const override { return 0.0; }
    QVariant minimumStepSize() const override { return 1.0 / InsaneProgress::kValueScale; }

private:
    InsaneProgress *Bar() const { return static_cast<InsaneProgress *>(widget()); }
};

class CommandAccessible : public QAccessibleWidget
{
public:
    explicit CommandAccessible(UniCommand *button)
        : QAccessibleWidget(button, QAccessible::PushButton)
    {}

    QString text(QAccessible::Text t) const override
    {
        if (t == QAccessible::Name)
            return NameOr(widget(), Button()->ShownText());
        if (t == QAccessible::Accelerator)
            return AccessKeys().value(0);
        return QAccessibleWidget::text(t);
    }
    QAccessible::State state() const override
    {
        QAccessible::State state = QAccessibleWidget::state();
        state.defaultButton = Button()->IsDefault();
        return state;
    }
    QStringList actionNames() const override
    {
        return QStringList{pressAction()} + QAccessibleWidget::actionNames();
    }
    void doAction(const QString &name) override
    {
        if (name != pressAction())
            QAccessibleWidget::doAction(name);
        else if (Button()->isEnabled())
            emit Button()->Click();
    }
    QStringList keyBindingsForAction(const QString &name) const override
    {
        return name == pressAction() ? AccessKeys() : QAccessibleWidget::keyBindingsForAction(name);
    }

private:
    UniCommand *Button() const { return static_cast<UniCommand *>(widget()); }
    // Alt and the access key, when the caption has one that can be typed.
    QStringList AccessKeys() const
    {
        const std::optional<char16_t> key = Button()->AccessKey();
        if (!key || QChar(*key).isNull() || QChar(*key).isSurrogate())
            return {};
        const auto code = static_cast<Qt::Key>(QChar(*key).toUpper().unicode());
        return {QKeySequence(QKeyCombination(Qt::AltModifier, code))
                    .toString(QKeySequence::NativeText)};
    }
};

class LabelAccessible : public QAccessibleWidget
{
public:
    explicit LabelAccessible(UniLabel *label)
        : QAccessibleWidget(label, QAccessible::StaticText)
    {}

    QString text(QAccessible::Text t) const override
    {
        if (t == QAccessible::Name)
            return NameOr(widget(), static_cast<UniLabel *>(widget())->ShownText());
        return QAccessibleWidget::text(t);
    }
};

QAccessibleInterface *ControlsAccessible(const QString &, QObject *object)
{
    if (auto *tabs = qobject_cast<ctlTabs *>(object))
        return new TabsAccessible(tabs);
    if (auto *bar = qobject_cast<InsaneProgress *>(object))
        return new ProgressAccessible(bar);
    if (auto *button = qobject_cast<UniCommand *>(object))
        return new CommandAccessible(button);
    if (auto *label = qobject_cast<UniLabel *>(object))
        return new LabelAccessible(label);
    return nullptr;
}

} // namespace

void InstallAccessibility()
{
    static const bool installed = (QAccessible::installFactory(&ControlsAccessible), true);
    Q_UNUSED(installed);
}

} // namespace trelvik
