#pragma once

#include <cstdint>
#include <memory>

#include "platform/gfx/Rect.h"

namespace tamber {

class InterfaceObject;
class InterfaceWindow;

// The window of an Interface placed on a Card of another Interface (the Interface element's
// child role). Embedded, it is a child window inside the parent's card area at the element's
// frame (one pixel wider and taller); floating, a separate framed window of the card size,
// placed at the parent's client origin plus "WinLeft"/"WinTop", centred on the screen or
// covering it. The element itself is the window's Interface object, and the Interface medium
// the element names is loaded into the window.
//
// Once made, a window is reused: closing it only hides it and "Open" shows it again at its
// computed place. A modal window is destroyed instead of hidden (a hidden modal window would
// still block its parent) and made afresh by the next "Open".
//
// A floating window is open from "Open" to "Close" or the user's closing; only while open does
// it show, hidden and shown again with the element's Card. An embedded one shows with its Card.
class ChildInterface {
public:
    explicit ChildInterface(InterfaceObject& element);
    ~ChildInterface();
    ChildInterface(const ChildInterface&) = delete;
    ChildInterface& operator=(const ChildInterface&) = delete;

    // The element's Card is shown: makes the window when needed, places it and shows it; a
    // floating one only when open and not already shown.
    void Show();
    // The element's Card went away: the window hides and a floating one stays open.
    void Hide();
    // Makes the window and loads the Interface it shows, without showing it.
    void Prepare();
    // The user closed the window: it hides and stays closed until the next "Open".
    void UserClosed();
    // "Open": floating only; shows the window at its place, raises "Opened" and activates it.
    // Answers 1, or 0 for an embedded element or without a parent window.
    int Open();
    // "Close": a floating, open window is hidden and "Closed" is raised. Answers 1 when it was.
    int Close();

    // The live window, or null.
    InterfaceWindow* Window() const;
    // Floating, existing and visible.
    bool IsOpen() const;

private:
    InterfaceWindow* ParentWindow() const;
    bool Floating() const;
    bool Create(InterfaceWindow& parent);
    void Place(InterfaceWindow& parent);
    void ShowWindow(InterfaceWindow& parent);

    InterfaceObject& m_element;
    std::unique_ptr<InterfaceWindow> m_window;
    bool m_open = false;
};

}  // namespace tamber
