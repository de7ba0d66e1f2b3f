#pragma once
// Where a skinned message dialog puts things: what the dialog paints and
// lays out, and what its accessible object reports, both read from here.
#include <windows.h>

#include <cstddef>

// The most bitmap buttons a layout can have; a layout with more does not
// compile.
constexpr std::size_t kMaxSkinButtons = 4;

// Every face bitmap's size at 96 dots per inch; a unit test holds the
// bitmaps to it.
constexpr SIZE kSkinButtonFace = {83, 23};

// A bitmap button's place in pixels at 96 dots per inch. Its face rectangle
// (its top left corner, where the reference dialog-unit conversion puts
// the control, and the face bitmaps' size) places and sizes the button at
// every scale, scaled edge by edge. What each paint invalidates so that the
// button draws itself again is `repaint` at 96 dots (the reference layout
// has the question's one row short of the face) and the scaled face
// rectangle at any other scale.
struct SkinButtonPlace {
    UINT controlId;
    RECT repaint;

    constexpr RECT Face() const
    {
        return {repaint.left, repaint.top, repaint.left + kSkinButtonFace.cx, repaint.top + kSkinButtonFace.cy};
    }
};

// A layout's buttons: a view of a static array of one to kMaxSkinButtons.
class SkinButtonList {
public:
    template <std::size_t N>
    constexpr SkinButtonList(const SkinButtonPlace (&places)[N]) : m_places(places), m_count(N)
    {
        static_assert(N >= 1 && N <= kMaxSkinButtons, "a skinned dialog has one to kMaxSkinButtons buttons");
    }
    constexpr std::size_t size() const { return m_count; }
    constexpr const SkinButtonPlace* begin() const { return m_places; }
    constexpr const SkinButtonPlace* end() const { return m_places + m_count; }

private:
    const SkinButtonPlace* m_places;
    std::size_t m_count;
};

struct SkinLayout {
    UINT templateId;
    UINT backgroundId;
    SIZE background;  // client size and the area copied from the background
    RECT messageRect;
    SkinButtonList buttons;
    bool topmost;
    const wchar_t* emptyTextsTrace;  // written when the warm-up closes it unseen
};
