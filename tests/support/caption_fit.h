#pragma once

class QWidget;

namespace vidorun::testing {

// Expects every button and label caption in the window to fit its control
// with the control's own font, so none is clipped at 96 dpi: a button's
// caption within the room its style leaves for text, a label's within its
// contents, a word-wrapped label's wrapped lines within its height.
void expectCaptionsFit(QWidget *window);

}  // namespace vidorun::testing
