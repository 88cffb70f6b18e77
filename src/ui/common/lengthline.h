// The quiet line under a result view: "5,565,709 digits", "32 digits (12
// before the point, 20 after), cut, not rounded", and while the caret stands
// after a digit, "digit 1,234,567 of 5,565,709". It follows its view's text and caret and
// costs the same for any length.
#pragma once

#include <QLabel>

namespace longhand {

class NumberView;

class LengthLine : public QLabel {
    Q_OBJECT

  public:
    // Height of the line, in layout pixels.
    static constexpr int kHeight = 17;

    LengthLine(const NumberView& view, QWidget* parent);

    // Writes the line for the view as it is now.
    void refresh();

  protected:
    void resizeEvent(QResizeEvent* event) override;

  private:
    // The smallest point size a long line is written in.
    static constexpr qreal kSmallestPoints = 6.0;
    void fitFont();

    const NumberView& view_;
};

} // namespace longhand
