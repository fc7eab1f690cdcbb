#pragma once

#include <QComboBox>

// A drop-down list whose open list is as wide as its longest entry, so a
// long name ("国有资本经营预算资金") reads whole, while the closed box keeps
// the width it was given. The list is measured each time it opens: its
// entries change with every refill.
class TDropDownList : public QComboBox {
    Q_OBJECT
public:
    explicit TDropDownList(QWidget* AParent = nullptr);

    // The width the open list needs for its longest entry, its frame and,
    // when it scrolls, its scroll bar.
    int ListWidth() const;
    void showPopup() override;
};
