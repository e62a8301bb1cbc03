#pragma once
// A font that a panel or a printable either holds itself or takes from its
// parent (ParentFont). Both keep the same rules: an own font set stops the
// inheriting; inheriting again copies the parent's font as the own one, so
// that a font set later starts from what was shown.

#include "TGraphics.h"

class InheritableFont {
public:
    // The font in effect; parentFont is none when there is no parent.
    const TFont& Effective(const TFont* parentFont) const
    {
        return m_inherits && parentFont ? *parentFont : m_own;
    }
    void Set(const TFont& font)
    {
        m_own = font;
        m_inherits = false;
    }
    void SetInherits(bool inherits, const TFont* parentFont)
    {
        if (inherits && !m_inherits && parentFont)
            m_own = *parentFont;
        m_inherits = inherits;
    }
    bool Inherits() const { return m_inherits; }
    TFont& Own() { return m_own; }

private:
    TFont m_own;
    bool m_inherits = true;
};
