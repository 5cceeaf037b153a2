#pragma once
// Turns a design table into Qt widgets on a form, scaled to the screen's text size.

#include "Design.h"
#include "Exception.h"

#include <QWidget>

// The factor every position and size is scaled by: the design font's text height at
// `logicalDpi` over its 12 pixels at 96 dpi (1.0 there, whatever face stands in).
double DesignScale(int logicalDpi) noexcept;

class TDesignLoader
{
public:
    explicit TDesignLoader(QWidget *form);

    // Applies the window row and creates every control, in design order, then sets the
    // Tab chain. Raises Exception on a row whose parent is not created before it.
    void Load(const TFormDesign &design);

    int Scaled(int designPixels) const noexcept;

private:
    QWidget *CreateControl(const TDesignRow &row, QWidget *parent) const;
    void ApplyFont(QWidget *control, const TDesignFont &font) const;
    static void ApplyBackground(QWidget *control, const TDesignColor &color);

    QWidget *FForm;
    double FScale;
};

// The named control of a loaded form, as the form's typed member; raises Exception when
// the design lacks it or it is of another kind.
template <typename T> T *FindControl(QWidget *form, const char *name)
{
    T *control = form->findChild<T *>(QString::fromLatin1(name));
    if (!control)
        throw Exception(QStringLiteral("Control %1 not found").arg(QString::fromLatin1(name)));
    return control;
}
