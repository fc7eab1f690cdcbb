#pragma once

#include <QGroupBox>
#include <QStringList>

class QButtonGroup;

// A framed group of radio buttons, one per item, of which one is chosen.
class TRadioGroup : public QGroupBox {
    Q_OBJECT
public:
    explicit TRadioGroup(QWidget* AParent = nullptr);

    void SetItems(const QStringList& AItems);
    int Count() const;
    // The chosen item's index, -1 when none is.
    int ItemIndex() const;
    // An index outside the items chooses none.
    void SetItemIndex(int AIndex);

private:
    QButtonGroup* FButtons;
};
