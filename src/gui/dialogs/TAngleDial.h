#pragma once
// The dial of the transformation's turn (AngleBox): a 113 x 113 pixel face with a tick every 10
// degrees and a red needle for the angle, or a "?" while the angle field holds no number. The
// angle 0 points straight up and angles grow counter-clockwise, from -180 to 180 degrees.
// Dragging with the primary button reports the pointer; the dialog turns it into an angle with
// DialAngle (and SnapDegrees while Ctrl is held) and shows it back with SetAngle.
#include <QString>
#include <QWidget>

// The angle (radians) that pointer position (x, y) gives about the dial's centre (cx, cy),
// screen y growing downwards: straight up 0, left pi/2, below pi, right -pi/2.
double DialAngle(double x, double y, double cx, double cy);
// Ctrl held while dragging: the degrees, rounded to whole ones, go to a multiple of 5, one whose
// remainder is 2 or more going one step away from zero; near zero (-4..4) they give 0.
double SnapDegrees(double degrees);

inline constexpr double DegreesPerRadian = 57.295779513082320877;
inline constexpr double RadiansPerDegree = 0.017453292519943295769;

class TAngleDial : public QWidget {
    Q_OBJECT
public:
    static constexpr int Side = 113;

    explicit TAngleDial(QWidget *parent = nullptr);

    // What the dial shows: the needle at angle (radians) with text in the middle, or "?" when
    // the angle is not valid.
    void SetAngle(double angle, bool valid, const QString &text);
    double Angle() const { return m_angle; }
    bool AngleValid() const { return m_valid; }
    bool Dragging() const { return m_dragging; }
    // The centre the needle turns about and pointer angles are measured from.
    QPoint Centre() const;

signals:
    // The pointer moved while the primary button is held on the dial.
    void Dragged(QPoint position, Qt::KeyboardModifiers modifiers);

protected:
    void paintEvent(QPaintEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;

private:
    double m_angle = 0;
    bool m_valid = true;
    bool m_dragging = false;
    QString m_text;
};
