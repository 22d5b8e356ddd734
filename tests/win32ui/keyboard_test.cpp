// The keyboard roads through each window, pressed as real keys through the
// message loop: where Tab goes, what Enter and Esc press (each press exactly
// one command), the menu shortcuts, the close box, the input box.
#include "win32ui_support.h"

#include <gtest/gtest.h>

namespace vidorun::ui::win32::test {
namespace {

using Names = std::vector<std::string>;

// Shows the window, then presses Tab as often as it has stops: the focus
// goes round them in tab order and back to the first.
Names tabRoad(const Window &window, std::size_t stops)
{
    Realised realised(window);
    realised.view->show();
    settle();
    Names road{realised.view->focused()};
    for (std::size_t i = 0; i < stops; ++i) {
        press(VK_TAB);
        road.push_back(realised.view->focused());
    }
    press(VK_TAB, Shift);
    road.push_back(realised.view->focused());
    return road;
}

TEST(Keyboard, TabVisitsTheControlsInTabOrder)
{
    EXPECT_EQ(tabRoad(MainWindow, 7), (Names{"Movies", "About", "EjectButton", "PlayButton", "QuitButton", "MPlayer",
                                             "Codec_Button", "Movies", "Codec_Button"}));
    // The disabled Location box is passed over.
    EXPECT_EQ(tabRoad(AddMovieWindow, 5), (Names{"BrowseButton", "OKButton", "CancelButton", "MovieCD", "MovieName",
                                                 "BrowseButton", "MovieName"}));
    EXPECT_EQ(tabRoad(RemoveMovieWindow, 3),
              (Names{"RemoveMovieList", "RemoveButton", "CloseButton", "RemoveMovieList", "CloseButton"}));
    EXPECT_EQ(tabRoad(SettingsWindow, 1), (Names{"CloseCMD", "CloseCMD", "CloseCMD"}));
    EXPECT_EQ(tabRoad(AboutWindow, 1), (Names{"cmdOK", "cmdOK", "cmdOK"}));
    EXPECT_EQ(tabRoad(InputBoxWindow, 3), (Names{"Answer", "OKButton", "CancelButton", "Answer", "CancelButton"}));
}

// The commands one key gives in a shown window, with the focus on `focus`.
Names commandsOf(Realised &realised, WORD key, std::string_view focus = {}, int modifiers = NoModifier)
{
    if (!focus.empty())
        realised.view->setFocus(focus);
    settle();
    realised.events.commands.clear();
    press(key, modifiers);
    return realised.events.commands;
}

TEST(Keyboard, EnterAndEscPressWhatEachWindowSays)
{
    {
        Realised about(AboutWindow);
        about.view->show();
        EXPECT_EQ(commandsOf(about, VK_RETURN), Names{"cmdOK"});
        EXPECT_EQ(commandsOf(about, VK_ESCAPE), Names{"cmdOK"});
    }
    {
        Realised settings(SettingsWindow);
        settings.view->show();
        EXPECT_EQ(commandsOf(settings, VK_RETURN), Names{"CloseCMD"});
        EXPECT_EQ(commandsOf(settings, VK_ESCAPE), Names{"CloseCMD"});
    }
    {
        Realised add(AddMovieWindow);
        add.view->show();
        EXPECT_EQ(commandsOf(add, VK_RETURN), Names{"BrowseButton"});  // the first focus
        EXPECT_EQ(commandsOf(add, VK_RETURN, "CancelButton"), Names{"CancelButton"});
        EXPECT_EQ(commandsOf(add, VK_RETURN, "MovieName"), Names{});
        EXPECT_EQ(commandsOf(add, VK_ESCAPE, "BrowseButton"), Names{});
    }
    {
        Realised remove(RemoveMovieWindow);
        remove.view->show();
        remove.view->addItem("RemoveMovieList", "Holiday 1999");
        EXPECT_EQ(commandsOf(remove, VK_RETURN, "RemoveMovieList"), Names{});
        EXPECT_EQ(commandsOf(remove, VK_ESCAPE), Names{"CloseButton"});
    }
}

TEST(Keyboard, MenuShortcutsWorkOnlyWhileTheMainWindowIsEnabled)
{
    Realised main(MainWindow);
    main.view->show();
    EXPECT_EQ(commandsOf(main, 'O', {}, Ctrl), Names{"OPENINIFILE"});
    EXPECT_EQ(commandsOf(main, 'S', {}, Ctrl), Names{"SAVEFILE"});
    // A child window opens over the disabled main window, as the program
    // opens About, and closes again.
    for (int i = 0; i < 3; ++i)
        press(VK_TAB);
    ASSERT_EQ(main.view->focused(), "PlayButton");
    main.view->setWindowEnabled(false);
    EXPECT_EQ(commandsOf(main, 'O', {}, Ctrl), Names{});
    {
        Realised about(AboutWindow);
        about.view->show();
        EXPECT_EQ(commandsOf(main, 'O', {}, Ctrl), Names{});
        EXPECT_EQ(about.events.commands, Names{});
        about.view->close();
        EXPECT_EQ(about.events.closings, 1);
    }
    main.view->setWindowEnabled(true);
    main.view->activate();
    settle();
    EXPECT_EQ(main.view->focused(), "PlayButton");  // the focus comes back where it was
    EXPECT_EQ(commandsOf(main, 'O', {}, Ctrl), Names{"OPENINIFILE"});
}

TEST(Keyboard, TheCloseBoxAsksTheHandlers)
{
    Realised main(MainWindow);
    main.view->show();
    settle();
    EXPECT_GE(main.events.activations, 1);
    main.events.allowClose = false;
    PostMessageW(main.hwnd(), WM_SYSCOMMAND, SC_CLOSE, 0);
    settle();
    EXPECT_EQ(main.events.closeQuestions, 1);
    EXPECT_EQ(main.events.closings, 0);
    EXPECT_TRUE(IsWindowVisible(main.hwnd()));

    main.events.allowClose = true;
    PostMessageW(main.hwnd(), WM_SYSCOMMAND, SC_CLOSE, 0);
    // The main window closed: the message loop is asked to end.
    bool loopGoesOn = true;
    for (int round = 0; round < 20 && loopGoesOn; ++round) {
        loopGoesOn = pumpMessages();
        Sleep(10);
    }
    EXPECT_FALSE(loopGoesOn);
    EXPECT_EQ(main.events.closeQuestions, 2);
    EXPECT_EQ(main.events.closings, 1);
    EXPECT_EQ(main.hwnd(), nullptr);  // destroyed once the close was handled
}

TEST(Keyboard, TheInputBoxAnswersTheTypedTextOnEnterAndNothingOnEsc)
{
    Realised main(MainWindow);
    main.view->show();
    settle();
    frontEnd().post([hwnd = main.hwnd()] {
        EXPECT_FALSE(IsWindowEnabled(hwnd));  // while the box is up
        type(L"Holiday 1999");
        press(VK_RETURN);
    });
    EXPECT_EQ(frontEnd().askText(main.view.get(), "Movie name?", "add movie", "old name"), "Holiday 1999");
    EXPECT_TRUE(main.view->isWindowEnabled());
    settle();
    EXPECT_EQ(GetActiveWindow(), main.hwnd());

    frontEnd().post([] {
        type(L"never");
        press(VK_ESCAPE);
    });
    EXPECT_EQ(frontEnd().askText(main.view.get(), "Movie name?", "add movie", "old name"), "");
    EXPECT_TRUE(main.view->isWindowEnabled());

    // Enter presses OK wherever the focus is, and OK alone looks it.
    frontEnd().post([] {
        press(VK_TAB);
        press(VK_TAB);
        HWND cancel = GetFocus(), ok = GetWindow(cancel, GW_HWNDPREV);
        EXPECT_EQ(GetWindowLongPtrW(cancel, GWL_STYLE) & BS_TYPEMASK, BS_PUSHBUTTON);
        EXPECT_EQ(GetWindowLongPtrW(ok, GWL_STYLE) & BS_TYPEMASK, BS_DEFPUSHBUTTON);
        press(VK_RETURN);
    });
    EXPECT_EQ(frontEnd().askText(main.view.get(), "Movie name?", "add movie", "old name"), "old name");
}

TEST(Keyboard, TheMessageBoxShowsTheProgramsTextAndAnswers)
{
    Realised main(MainWindow);
    main.view->show();
    settle();
    std::wstring caption, text;
    const auto answerWithEnter = [&, hwnd = main.hwnd()] {
        EXPECT_FALSE(IsWindowEnabled(hwnd));  // while the box is up
        HWND box = GetActiveWindow();
        wchar_t buffer[256] = {};
        GetWindowTextW(box, buffer, 256);
        caption = buffer;
        GetDlgItemTextW(box, 0xffff, buffer, 256);  // the box's text
        text = buffer;
        sendKey(VK_RETURN);  // for the box's own loop
    };
    frontEnd().post(answerWithEnter);
    EXPECT_EQ(messageBox(main.view.get(), "Remove \"Été\"?\r\nIt stays on the disc.", "Vidorun ; été", 36),
              MessageAnswer::Yes);
    EXPECT_EQ(caption, L"Vidorun ; \u00e9t\u00e9");
    EXPECT_EQ(text, L"Remove \"\u00c9t\u00e9\"?\r\nIt stays on the disc.");
    frontEnd().post(answerWithEnter);
    EXPECT_EQ(messageBox(main.view.get(), "No such file", "Vidorun", 16), MessageAnswer::Ok);
    EXPECT_TRUE(main.view->isWindowEnabled());
}

}  // namespace
}  // namespace vidorun::ui::win32::test
