#include "GalleryStateButton.h"

GalleryStateButton::GalleryStateButton(Face face, QWidget *parent)
    : TkavButton(parent), m_face(face)
{
    // The faces were fetched while the base was being built, before this class could answer
    // PaintButtonNormal: fetch them again, or the look the gallery opens in (whichever it is)
    // would show the normal face until the next look change.
    refreshFaces();
}

void GalleryStateButton::PaintButtonNormal(QImage &picture)
{
    if (m_face == Face::MouseOver)
        PaintButtonMouseOn(picture);
    else
        PaintButtonMouseDown(picture);
}
