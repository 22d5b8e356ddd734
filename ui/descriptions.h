#pragma once

// The program's windows, each described once (descriptions.cpp): the main
// window, the child windows Add movie, Remove movie, Current settings and
// About, and the input box.
#include "ui/window_description.h"

namespace vidorun::ui {

extern const Window MainWindow;         // VidorunMain
extern const Window AddMovieWindow;     // AddMovieForm
extern const Window RemoveMovieWindow;  // RemoveMovieForm
extern const Window SettingsWindow;     // OptionsForm
extern const Window AboutWindow;        // frmAbout
extern const Window InputBoxWindow;     // the modal text-input box

// Every one of them, for front ends and tests that go over all.
std::span<const Window *const> allWindows();

// The text "empty" in a hidden transfer field: nothing handed back.
inline constexpr std::string_view TransferEmpty = "empty";

}  // namespace vidorun::ui
