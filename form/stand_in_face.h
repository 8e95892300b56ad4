#pragma once
// The face of a loaded file that is not installed: listed in the font combo
// box, so that the form names the face its Save and Download will use, until
// another face is chosen.
#include <windows.h>

#include <string>

class CStandInFace {
public:
    // After a Load of face: the previous stand-in goes; face stands in when
    // it is not installed.
    void Loaded(HWND combo, const std::string& face, bool installed);
    // The operator chose face in combo: a stand-in other than face goes.
    void Chosen(HWND combo, const std::string& face);
    // Selects face in combo, listing it first if need be, when it is the
    // stand-in; false otherwise.
    bool Select(HWND combo, const std::string& face) const;

private:
    void Drop(HWND combo);

    std::string m_face; // empty when there is none
};
