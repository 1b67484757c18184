#pragma once

#include "platform/Dialogs.h"

#include <exception>
#include <type_traits>
#include <utility>

// The application's standard error display: an error box with OK. Handlers
// of buttons and other user actions run through Guarded so that an error
// stops the action, is shown, and leaves the program running.
void ShowException(const std::exception& error);
void ShowUnknownException();

// The error box speaks the interface language: the main window hands in the
// captions of its dictionary (an empty lookup gives the built-in English).
void SetErrorDialogCaptions(DialogCaptionLookup captions);

namespace ErrorDisplayDetail {
// Signals may carry arguments the action does not want. A template of its
// own, so that the call without arguments is only checked for the actions
// that take none (clang checks it in a generic lambda at once).
template <typename F, typename... Args>
void Call(const F& action, Args&&... args)
{
    if constexpr (std::is_invocable_v<const F&, Args...>)
        action(std::forward<Args>(args)...);
    else
        action();
}
} // namespace ErrorDisplayDetail

template <typename F>
auto Guarded(F action)
{
    return [action = std::move(action)](auto&&... args) {
        try {
            ErrorDisplayDetail::Call(action, std::forward<decltype(args)>(args)...);
        } catch (const std::exception& error) {
            ShowException(error);
        } catch (...) {
            ShowUnknownException();
        }
    };
}
