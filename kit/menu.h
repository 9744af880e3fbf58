// Menu items: captions, states and the Click that a popup menu runs.
#pragma once
#include <functional>
#include <string>
#include <vector>

namespace kit {

class MenuItem {
public:
    explicit MenuItem(std::string caption = {}) : Caption(std::move(caption)) {}
    std::string Caption;
    bool Enabled = true;
    bool Checked = false;
    bool Visible = true;
    std::function<void()> Click;
    std::vector<MenuItem*> Items;
};

}  // namespace kit
