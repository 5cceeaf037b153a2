#include "DesignLoader.h"

#include "Fonts.h"
#include "StatusBar.h"

#include <QApplication>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QStandardItemModel>
#include <QWindow>
#include <algorithm>
#include <vector>

namespace {
constexpr int kDesignTextHeight = 12; // pixels of the design font at 96 dpi
constexpr int kDesignDpi = 96;

QColor Resolve(const TDesignColor &color, const QPalette &palette)
{
    switch (color.source) {
    case TDesignColor::Source::Rgb:
        return QColor::fromRgb(color.rgb);
    case TDesignColor::Source::WindowText:
        return palette.color(QPalette::WindowText);
    case TDesignColor::Source::ButtonFace:
        return palette.color(QPalette::Button);
    case TDesignColor::Source::Parent:
        break;
    }
    return {};
}
} // namespace

double DesignScale(int logicalDpi) noexcept
{
    const int textHeight = (kDesignTextHeight * logicalDpi + kDesignDpi / 2) / kDesignDpi;
    return double(textHeight) / kDesignTextHeight;
}

TDesignLoader::TDesignLoader(QWidget *form) : FForm(form), FScale(DesignScale(form->logicalDpiY()))
{
    InstallDesignFonts();
}

int TDesignLoader::Scaled(int designPixels) const noexcept
{
    return static_cast<int>(designPixels * FScale + (designPixels >= 0 ? 0.5 : -0.5));
}

void TDesignLoader::Load(const TFormDesign &design)
{
    FForm->setWindowTitle(QString::fromUtf8(design.caption));
    ApplyFont(FForm, design.font);
    ApplyBackground(FForm, design.background);
    FForm->resize(Scaled(design.clientWidth), Scaled(design.clientHeight));
    FForm->move(Scaled(design.left), Scaled(design.top));

    for (const TDesignRow &row : design.rows) {
        QWidget *parent = row.parent ? FindControl<QWidget>(FForm, row.parent) : FForm;
        CreateControl(row, parent);
    }

    // The Tab chain runs container by container in design order, as the designer's does:
    // a container's own controls follow in its place.
    std::vector<QWidget *> chain;
    const auto appendChain = [&](auto &&self, const char *container) -> void {
        std::vector<const TDesignRow *> rows;
        for (const TDesignRow &row : design.rows) {
            const bool inContainer =
                container ? row.parent && qstrcmp(row.parent, container) == 0 : !row.parent;
            if (inContainer && row.tabOrder >= 0)
                rows.push_back(&row);
        }
        std::stable_sort(rows.begin(), rows.end(),
                         [](const auto *a, const auto *b) { return a->tabOrder < b->tabOrder; });
        for (const TDesignRow *row : rows) {
            auto *control = FindControl<QWidget>(FForm, row->name);
            if (control->focusPolicy() != Qt::NoFocus)
                chain.push_back(control);
            self(self, row->name);
        }
    };
    appendChain(appendChain, nullptr);
    for (std::size_t i = 1; i < chain.size(); ++i)
        QWidget::setTabOrder(chain[i - 1], chain[i]);
}

QWidget *TDesignLoader::CreateControl(const TDesignRow &row, QWidget *parent) const
{
    const QString text = QString::fromUtf8(row.text ? row.text : "");
    QWidget *control = nullptr;
    switch (row.kind) {
    case TControlKind::Label: {
        auto *label = new QLabel(text, parent);
        label->setTextFormat(Qt::PlainText);
        label->setFocusPolicy(Qt::NoFocus);
        control = label;
        break;
    }
    case TControlKind::Button:
        control = new QPushButton(text, parent);
        control->setFocusPolicy(Qt::StrongFocus);
        break;
    case TControlKind::Panel: {
        auto *panel = new TPanel(parent);
        panel->setText(text);
        panel->SetBevel(row.bevel);
        control = panel;
        break;
    }
    case TControlKind::GroupBox:
        control = new QGroupBox(text, parent);
        control->setFocusPolicy(Qt::NoFocus);
        break;
    case TControlKind::ComboBox: {
        auto *combo = new QComboBox(parent);
        combo->setEditable(true);
        // Typed text is the query's host, never a new list entry.
        combo->setInsertPolicy(QComboBox::NoInsert);
        combo->setFocusPolicy(Qt::StrongFocus);
        control = combo;
        break;
    }
    case TControlKind::StatusBar: {
        auto *bar = new TStatusBar(parent);
        bar->SetSimpleText(text);
        control = bar;
        break;
    }
    }
    control->setObjectName(QString::fromLatin1(row.name));
    ApplyFont(control, row.font);
    ApplyBackground(control, row.background);
    int width = Scaled(row.width);
    // Labels size themselves to their text, as the designer's do: a stand-in face a
    // pixel wider must not clip the last character.
    if (row.kind == TControlKind::Label)
        width = std::max(width, control->fontMetrics().horizontalAdvance(text));
    control->setGeometry(Scaled(row.left), Scaled(row.top), width, Scaled(row.height));
    control->show();
    return control;
}

void TDesignLoader::ApplyFont(QWidget *control, const TDesignFont &font) const
{
    if (font.family)
        control->setFont(DesignFont(font.family, Scaled(font.pixelHeight), font.bold));
    const QColor color = Resolve(font.color, control->palette());
    if (color.isValid()) {
        QPalette palette = control->palette();
        palette.setColor(QPalette::WindowText, color);
        palette.setColor(QPalette::Text, color);
        control->setPalette(palette);
    }
}

void TDesignLoader::ApplyBackground(QWidget *control, const TDesignColor &color)
{
    const QColor resolved = Resolve(color, QApplication::palette());
    if (!resolved.isValid())
        return;
    QPalette palette = control->palette();
    palette.setColor(QPalette::Window, resolved);
    control->setPalette(palette);
    control->setAutoFillBackground(true);
}
