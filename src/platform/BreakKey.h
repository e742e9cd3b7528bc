#pragma once

namespace tamber {

// Whether the user holds Ctrl+Break, the key that stops a running script. The interpreter asks
// before every statement, so implementations answer quickly.
class BreakKey {
public:
    virtual ~BreakKey() = default;
    virtual bool IsDown() = 0;
};

// A break key set by whoever drives the program: the automation runner of headless runs, tests.
class ManualBreakKey final : public BreakKey {
public:
    void Press() { m_down = true; }
    void Release() { m_down = false; }
    bool IsDown() override { return m_down; }

private:
    bool m_down = false;
};

}  // namespace tamber
