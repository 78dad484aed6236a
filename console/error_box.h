#pragma once
#include <functional>
#include <string>

// The framework's standard error box: how a failure that leaves a handler reaches the user.
// Without a handler of its own the program shows a message box (or writes to standard error
// when there is no window system); tests install one that records the text.
void ShowErrorBox(const std::string& message);

using TErrorBoxHandler = std::function<void(const std::string& message)>;
// Returns the previous handler; an empty handler restores the default.
TErrorBoxHandler SetErrorBoxHandler(TErrorBoxHandler handler);

// Runs body and shows what it raises in the error box: the framework's guard around event
// handlers and creation handlers, after which the program goes on.
void RunGuarded(const std::function<void()>& body);
