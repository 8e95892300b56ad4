#pragma once
// The single-document wiring: one document, one frame, one form view. The
// new-document step (at start-up and on Ctrl+N) makes the frame and the view
// the first time, hidden, then runs the document's new-document step and the
// view's initial update, and shows the frame.
#include "framework/document.h"
#include "framework/form_view.h"
#include "framework/frame_wnd.h"

class CSingleDocTemplate {
public:
    // resourceId names the frame's menu, icon and accelerators, and the
    // string whose first line is the frame's first caption.
    CSingleDocTemplate(int resourceId, CDocument& doc, CFrameWnd& frame, CFormView& view)
        : m_nResourceId(resourceId), m_doc(doc), m_frame(frame), m_view(view) {}

    // False when the frame or the form could not be made, or the document
    // refused.
    bool OpenNewDocument(int showCommand);

private:
    int m_nResourceId;
    CDocument& m_doc;
    CFrameWnd& m_frame;
    CFormView& m_view;
};
