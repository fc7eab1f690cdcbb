#pragma once

#include "platform/ui/TForm.h"

#include <cstdint>
#include <memory>

// Root of the plug-in's windows: the modal flag the window manager reads to
// decide between a modal and a modeless showing, and centring on every show.
class TfrmBase : public TForm {
    Q_OBJECT
public:
    Q_INVOKABLE explicit TfrmBase(TComponent* AOwner = nullptr);
    ~TfrmBase() override;

    // Non-zero: the window manager shows the window modally. 0 before
    // FormCreate has run and after FormDestroy.
    std::uint8_t ModalFlag() const { return FModalFlag ? *FModalFlag : 0; }
    void SetModalFlag(std::uint8_t AValue);

protected:
    void FormCreate() override;
    void FormDestroy() override;
    void FormShow() override;

private:
    std::unique_ptr<std::uint8_t> FModalFlag;
};

// Centres a window on the platform's screen: Top first, then Left, each
// (screen size - window size) / 2 truncated toward zero.
void CentreOnScreen(TForm* AWindow);
