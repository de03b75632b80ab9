#include "platform/combo.h"

#include "common/runtime.h"
#include "platform/actions.h"
#include "platform/innerpart.h"

#include <QComboBox>
#include <QLineEdit>
#include <QSignalBlocker>
#include <QVBoxLayout>

namespace tav {

ComboBox::ComboBox(QWidget* parent) : QWidget(parent), box_(new QComboBox(this))
{
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(box_);
    box_->setObjectName(QStringLiteral("box"));
    markInnerPart(box_);
    box_->setEditable(true);
    // Typed text stays as typed: never added to the list, never completed
    // from it.
    box_->setInsertPolicy(QComboBox::NoInsert);
    box_->setCompleter(nullptr);
    setFocusProxy(box_);
    // When editing ends (Return, or the focus leaving) the box would pick the
    // entry that matches the typed text and report a pick the user never
    // made; typed text only ever counts as typing.
    disconnect(box_->lineEdit(), &QLineEdit::editingFinished, box_, nullptr);

    // Only the user's edits: the program's writes report themselves in
    // setText, and a pick sets the text without a change notice.
    connect(box_->lineEdit(), &QLineEdit::textEdited, this, &ComboBox::changed);
    onSignal(box_, &QComboBox::activated, this, [this](int i) {
        // Picking the entry already current must still replace typed text.
        if (i >= 0 && box_->lineEdit()->text() != box_->itemText(i))
            box_->lineEdit()->setText(box_->itemText(i));
        emit clicked();
    });
}

QString ComboBox::text() const { return box_->lineEdit()->text(); }

void ComboBox::setText(const QString& t)
{
    if (t == text())
        return;
    box_->lineEdit()->setText(t);
    // The handler's error is the setter's, as it would be called directly.
    throughQt([&] { emit changed(); });
}

void ComboBox::addItem(const QString& item)
{
    const QString keep = text();
    {
        const QSignalBlocker quiet(box_);
        box_->addItem(item);
        box_->setCurrentIndex(-1);
    }
    box_->lineEdit()->setText(keep);
}

void ComboBox::clear()
{
    const QString keep = text();
    {
        const QSignalBlocker quiet(box_);
        box_->clear();
    }
    box_->lineEdit()->setText(keep);
}

int ComboBox::listCount() const { return box_->count(); }

QString ComboBox::list(int i) const
{
    if (i < 0 || i >= box_->count())
        tav::raise(ErrSubscript);
    return box_->itemText(i);
}

void ComboBox::setListIndex(int i)
{
    if (i < 0 || i >= box_->count())
        tav::raise(ErrInvalidProperty);
    box_->setCurrentIndex(i);
    // setCurrentIndex keeps the edit text when the index is unchanged.
    box_->lineEdit()->setText(box_->itemText(i));
    throughQt([&] { emit clicked(); });
}

QLineEdit* ComboBox::lineEdit() const { return box_->lineEdit(); }

} // namespace tav
