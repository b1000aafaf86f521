#pragma once
// Event<Signature>: an event property. It holds the handler and, when the
// handler was bound by name (from a form stream, or by a form wiring up its own
// published methods), that name, so the binding can be written back.

#include <functional>
#include <string>
#include <utility>

template <typename Signature> class Event;

template <typename... Args> class Event<void(Args...)> {
public:
    using Handler = std::function<void(Args...)>;

    Event() = default;
    Event(Handler handler) : handler_(std::move(handler)) {}
    template <typename F>
        requires std::is_invocable_v<F, Args...> && (!std::is_same_v<std::decay_t<F>, Event>)
    Event(F&& f) : handler_(std::forward<F>(f)) {}

    void Bind(Handler handler, std::string methodName)
    {
        handler_ = std::move(handler);
        name_ = std::move(methodName);
    }
    void Clear()
    {
        handler_ = nullptr;
        name_.clear();
    }

    explicit operator bool() const { return static_cast<bool>(handler_); }
    // Calls the handler if there is one. Exceptions pass to the caller: the
    // framework's dispatcher decides where they are reported.
    void operator()(Args... args) const
    {
        if (handler_)
            handler_(std::forward<Args>(args)...);
    }
    const std::string& MethodName() const { return name_; }
    const Handler& Function() const { return handler_; }

private:
    Handler handler_;
    std::string name_;
};
