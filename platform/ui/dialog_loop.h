#pragma once
// How a dialog runs on the window thread. In a window: its own loop takes the window's events (keys
// through the keyboard hook first, typed and composed text, mouse clicks mapped into the frame),
// draws the dialog over the frame the game showed last and shows it, until the dialog ends; then the
// game's frame comes back. In headless runs (or wherever an answerer is installed) the dialog takes
// its answer instead. The window's close button closes the dialog, not the program; what other
// threads send to the window thread waits until the dialog is done (the game-side threads are held
// or waiting for the dialog meanwhile). An answer is a list of actions done to the dialog as the
// player would, separated by commas:
//
//   type:TEXT   the text typed into the focused field (UTF-8; characters the game cannot write are
//               refused as typing would refuse them)
//   click:ID    a click on item ID
//   key:NAME    a key pressed and let go (names of the input script: RETURN, ESCAPE, LEFT, BACK, ...)
//   close       the window's close button
//
// After the actions a dialog still open gets Enter, its default button. Without window and answerer
// a dialog cannot be shown and ends with 0 at once.
#include <cstdint>
#include <functional>
#include <optional>
#include <string>

class cDialogWindow;
class cScreen;

// Gets the dialog's name and gives its answer (nullopt: no answer, only Enter).
using DialogAnswerer = std::function<std::optional<std::string>(const std::string& dialogName)>;
// An empty function takes the answerer away again.
void SetDialogAnswerer(DialogAnswerer answerer);

// Runs window until it ends and traces "dialog NAME: RESULT".
void RunDialogWindow(cDialogWindow& window, cScreen* screen, const std::string& name);

// One key through the keyboard hook to the window, and the messages that it posted.
void DeliverDialogKey(cDialogWindow& window, int virtualKey, bool down);
// Typed text (UTF-8), one character at a time; a character without a code page 932 form is refused.
void DeliverDialogText(cDialogWindow& window, const std::string& utf8);
// The actions of an answer, as above.
void ApplyDialogAnswer(cDialogWindow& window, const std::string& answer);
