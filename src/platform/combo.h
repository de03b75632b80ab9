#pragma once
// A combo box that takes typed text as well as a pick from its list.
//
// Notices: changed() when the text changes by typing or because the program
// set it; clicked() when an entry is picked from the list (with the mouse, the
// arrow keys or setListIndex), which sets the text without a changed().
// Filling or clearing the list never touches the text and raises no notice.

#include <QString>
#include <QWidget>

class QComboBox;
class QLineEdit;

namespace tav {

class ComboBox : public QWidget {
    Q_OBJECT
public:
    explicit ComboBox(QWidget* parent = nullptr);

    QString text() const;
    void setText(const QString& t);

    void addItem(const QString& item);
    void clear();
    int listCount() const;
    // Entry i of the list; out of range raises "Subscript out of range".
    QString list(int i) const;
    // Picks entry i as the user would.
    void setListIndex(int i);

    QComboBox* box() const { return box_; }
    QLineEdit* lineEdit() const;

signals:
    void changed();
    void clicked();

private:
    QComboBox* box_;
};

} // namespace tav
