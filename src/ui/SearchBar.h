#pragma once

#include <QWidget>

class QLineEdit;

namespace tessel {

// The search field of the picker tabs: a magnifying glass and a borderless line edit on a
// rounded, faintly filled background.
class SearchBar : public QWidget {
    Q_OBJECT

public:
    SearchBar(const QString& placeholder, const QString& text, QWidget* parent = nullptr);

    QLineEdit* lineEdit() const { return m_edit; }

Q_SIGNALS:
    void textChanged(const QString& text);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QLineEdit* m_edit;
};

} // namespace tessel
