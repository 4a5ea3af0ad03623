// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <optional>
#include <utility>

namespace tessel {

// The outcome of an operation that can fail: success, or a failure whose message says what was
// refused and why (English, for the log). The one way Tessel reports a failure.
class [[nodiscard]] Result {
public:
    static Result success() { return {}; }
    static Result failure(QString message)
    {
        Result result;
        result.m_message = std::move(message);
        return result;
    }

    bool ok() const { return !m_message; }
    explicit operator bool() const { return ok(); }
    // Empty on success.
    QString message() const { return m_message.value_or(QString()); }

private:
    std::optional<QString> m_message;
};

// A value, or the failure that kept it from being made.
template <typename T> class [[nodiscard]] Expected {
public:
    Expected(T value)
        : m_value(std::move(value))
    {}
    Expected(Result failure)
        : m_failure(std::move(failure))
    {}

    bool ok() const { return m_value.has_value(); }
    explicit operator bool() const { return ok(); }
    const T& value() const { return *m_value; }
    T& value() { return *m_value; }
    const T& operator*() const { return *m_value; }
    const T* operator->() const { return &*m_value; }
    Result result() const { return ok() ? Result::success() : m_failure; }
    QString message() const { return m_failure.message(); }

private:
    std::optional<T> m_value;
    Result m_failure;
};

} // namespace tessel
