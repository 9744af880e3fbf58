// Forms and controls of the toolkit: one process-wide instance per form, created on first use;
// controls with properties and events; timers; menus; picture boxes with a persistent image.
#pragma once
#include <cstdint>
#include <cstdlib>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "kit/backend.h"
#include "kit/gdi.h"
#include "kit/runtime.h"

namespace kit {

class Form;

// A value whose change raises an event. Setting the value it already has raises nothing, so a
// program's own change is handled exactly like the user's.
template <class T>
class Prop {
public:
    Prop() = default;
    explicit Prop(T initial) : value_(std::move(initial)) {}
    const T& get() const { return value_; }
    operator const T&() const { return value_; }
    void set(const T& v) {
        if (v == value_) return;
        value_ = v;
        if (changed) changed();
    }
    Prop& operator=(const T& v) {
        set(v);
        return *this;
    }
    std::function<void()> changed;

private:
    T value_{};
};

// Anything a form holds that has a native side: created at load, released at unload.
class Component {
public:
    explicit Component(Form* owner);
    virtual ~Component();
    Component(const Component&) = delete;
    Component& operator=(const Component&) = delete;
    Form* owner() const { return owner_; }
    virtual void createPeer() {}
    virtual void destroyPeer() {}

private:
    Form* owner_;
};

// A picture object: owns its icon or bitmap when made with owned = true.
class PictureObject {
public:
    explicit PictureObject(Handle object) : object_(object) {}
    ~PictureObject();
    PictureObject(const PictureObject&) = delete;
    PictureObject& operator=(const PictureObject&) = delete;
    Handle handle() const;  // the icon or bitmap
    Handle object() const { return object_; }

private:
    Handle object_;
};
using Picture = std::shared_ptr<PictureObject>;

// Wraps a bitmap or icon handle as a picture object.
Picture CreatePicture(int pictureType, Handle handle, bool owned);

class Timer : public Component {
public:
    explicit Timer(Form* owner, unsigned intervalMs = 0, bool enabled = false);
    ~Timer() override;
    unsigned Interval() const { return interval_; }
    void setInterval(unsigned ms);
    bool Enabled() const { return enabled_; }
    void setEnabled(bool on);
    std::function<void()> OnTimer;
    void destroyPeer() override;

private:
    void apply();
    unsigned interval_;
    bool enabled_;
    Handle timer_ = 0;
};

class Control : public Component, public WindowSink {
public:
    explicit Control(Form* owner, WindowKind kind);
    ~Control() override;
    Handle hWnd() const { return hwnd_; }
    void createPeer() override;
    void destroyPeer() override;

    std::function<void(int button, int shift, int x, int y)> MouseMove;
    std::function<void(int button, int shift, int x, int y)> MouseDown;
    std::function<void(int button, int shift, int x, int y)> MouseUp;
    std::function<void()> Click;
    std::function<void()> DblClick;
    void onMouseMove(int b, int s, int x, int y) override { if (MouseMove) MouseMove(b, s, x, y); }
    void onMouseDown(int b, int s, int x, int y) override { if (MouseDown) MouseDown(b, s, x, y); }
    void onMouseUp(int b, int s, int x, int y) override { if (MouseUp) MouseUp(b, s, x, y); }
    void onClick() override { if (Click) Click(); }
    void onDblClick() override { if (DblClick) DblClick(); }

private:
    WindowKind kind_;
    Handle hwnd_ = 0;
};

// A picture box whose drawing goes to a persistent image of its size in pixels.
class PictureBox : public Control {
public:
    explicit PictureBox(Form* owner, int widthPx = 16, int heightPx = 16);
    ~PictureBox() override;
    int ScaleWidth() const { return width_; }
    int ScaleHeight() const { return height_; }

    Color BackColor() const { return back_; }
    void setBackColor(Color c);  // clears the image, as the toolkit does
    Color ForeColor() const { return fore_; }
    void setForeColor(Color c);
    const std::string& FontName() const { return fontName_; }
    void setFontName(const std::string& face);
    double FontSize() const { return fontSize_; }
    void setFontSize(double points);

    // The persistent image's device context, made on first use.
    Handle hDC();
    // Clears the image to the background colour.
    void Cls();

    const Picture& picture() const { return picture_; }
    void setPicture(Picture p) { picture_ = std::move(p); }

    void destroyPeer() override;

private:
    void ensureSurface();
    void selectFont();
    void releaseSurface();
    int width_, height_;
    Color back_ = 0xFFFFFF, fore_ = 0;
    std::string fontName_ = "MS Sans Serif";
    double fontSize_ = 8.25;
    Handle dc_ = 0, bitmap_ = 0, oldBitmap_ = 0, font_ = 0, oldFont_ = 0;
    Picture picture_;
};

// Controls of one kind sharing handlers, addressed by index; element 0 is designed, the
// others are loaded at run time.
template <class T>
class ControlArray {
public:
    using Factory = std::function<std::unique_ptr<T>(Form*)>;
    ControlArray(Form* owner, Factory make) : owner_(owner), make_(std::move(make)) { Load(0); }
    T& operator()(int i) { return *at(i); }
    bool Exists(int i) const { return i >= 0 && i < int(items_.size()) && items_[i]; }
    int UBound() const { return int(items_.size()) - 1; }
    void Load(int i);
    void Unload(int i);
    std::function<void(int index, int button, int shift, int x, int y)> MouseMove;

private:
    T* at(int i);
    Form* owner_;
    Factory make_;
    std::vector<std::unique_ptr<T>> items_;
};

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

class Form : public WindowSink {
public:
    Form();
    ~Form() override;
    Form(const Form&) = delete;
    Form& operator=(const Form&) = delete;

    Handle hWnd() const { return hwnd_; }
    bool Visible() const { return visible_; }
    void Show();
    void Hide();
    // Opens the items of menu as a popup menu and runs the chosen item's Click.
    void PopupMenu(MenuItem& menu);
    // A modal message box owned by this form's window.
    int MsgBox(const std::string& text, int flags, const std::string& caption);

    // Creates the native side and runs Form_Load.
    void loadForm();
    // Runs Form_Unload; when not cancelled, releases the native side. Returns false if cancelled.
    bool unloadForm();

protected:
    virtual void Form_Load() {}
    virtual void Form_Unload(int& cancel) {}

private:
    friend class Component;
    std::vector<Component*> components_;
    Handle hwnd_ = 0;
    bool visible_ = false;
};

// Forms that can be reset between tests.
void RegisterFormSlot(std::function<void()> reset);
void ResetAllForms();

// The single instance of a form, created and loaded on first use.
template <class T>
class FormInstance {
public:
    T& operator()() {
        if (!inst_) {
            if (!registered_) {
                registered_ = true;
                RegisterFormSlot([this] { Reset(); });
            }
            inst_ = std::make_unique<T>();
            T* form = inst_.get();
            // The load handler may unload the form again; the object stays alive until reset.
            form->loadForm();
            return *form;
        }
        return *inst_;
    }
    bool Loaded() const { return inst_ != nullptr; }
    // Unloads the form; the object lives on until the next reset so a handler of its own can
    // still return through it.
    void Unload() {
        if (!inst_) return;
        if (!inst_->unloadForm()) return;
        graveyard_.push_back(std::move(inst_));
    }
    void Reset() {
        inst_.reset();
        graveyard_.clear();
    }

private:
    std::unique_ptr<T> inst_;
    std::vector<std::unique_ptr<T>> graveyard_;
    bool registered_ = false;
};

// Shorthands for the backend's services.
inline void DoEvents() { backend().doEvents(); }
inline void WaitEvents() { backend().waitEvents(); }
// The toolkit's seconds-since-midnight counter, with its fraction.
inline double SecondsSinceMidnight() { return backend().secondsSinceMidnight(); }
inline DateTime Now() { return backend().now(); }
[[noreturn]] inline void End(int code = 0) {
    RunProcessEndActions();
    backend().endProcess(code);
    std::abort();  // endProcess never returns
}
// A message box with no owner; an empty caption gives the application's title.
int MsgBox(const std::string& text, int flags = kMbOk, const std::string& caption = {});

template <class T>
void ControlArray<T>::Load(int i) {
    if (i < 0) throw std::out_of_range("control array index");
    if (i >= int(items_.size())) items_.resize(i + 1);
    if (items_[i]) return;
    items_[i] = make_(owner_);
    items_[i]->MouseMove = [this, i](int b, int s, int x, int y) {
        if (MouseMove) MouseMove(i, b, s, x, y);
    };
    if (owner_ && owner_->hWnd()) items_[i]->createPeer();
}

template <class T>
void ControlArray<T>::Unload(int i) {
    if (i <= 0 || !Exists(i)) return;
    items_[i].reset();
    while (!items_.empty() && !items_.back()) items_.pop_back();
}

template <class T>
T* ControlArray<T>::at(int i) {
    if (!Exists(i)) throw std::out_of_range("control array element not loaded");
    return items_[i].get();
}

}  // namespace kit
