#include "measure/ui/Measure.h"

#include <QComboBox>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>

namespace zt {

namespace {

template <typename W>
W* named(QWidget* parent, const char* name, const QString& text = QString()) {
    auto* w = new W(parent);
    w->setObjectName(QLatin1String(name));
    if constexpr (std::is_same_v<W, QLabel> || std::is_same_v<W, QRadioButton>)
        w->setText(text);
    return w;
}

} // namespace

Measure::Measure(App& app) : app_(app) {
    setObjectName(QStringLiteral("Measure"));
    setWindowTitle(QStringLiteral("Measure"));
    auto* layout = new QGridLayout(this);

    Skier_name = named<QComboBox>(this, "Skier_name");
    Skier_name->setEditable(true);
    Skier_name->setEditText(QStringLiteral("Skier Name"));
    grid_description = named<QLineEdit>(this, "grid_description");
    barefoot_indicator = named<QLineEdit>(this, "barefoot_indicator");
    barefoot_indicator->hide();
    UnofficialJump = named<QLabel>(this, "UnofficialJump", QStringLiteral("UNOFFICIAL JUMP"));
    layout->addWidget(Skier_name, 0, 0);
    layout->addWidget(grid_description, 0, 1);
    layout->addWidget(barefoot_indicator, 0, 2);
    layout->addWidget(UnofficialJump, 0, 3);

    optJumpOK = named<QRadioButton>(this, "optJumpOK", QStringLiteral("Jump OK"));
    Fall = named<QRadioButton>(this, "Fall", QStringLiteral("Fall"));
    Pass = named<QRadioButton>(this, "Pass", QStringLiteral("Pass"));
    O_reride = named<QRadioButton>(this, "O_reride", QStringLiteral("Opt. reride"));
    M_Reride = named<QRadioButton>(this, "M_Reride", QStringLiteral("Man. Reride"));
    Other_Grid = named<QRadioButton>(this, "Other_Grid", QStringLiteral("Other Grid"));
    Make_comment = named<QRadioButton>(this, "Make_comment", QStringLiteral("Comment"));
    int col = 0;
    for (QWidget* w : {static_cast<QWidget*>(optJumpOK), static_cast<QWidget*>(Fall),
                       static_cast<QWidget*>(Pass), static_cast<QWidget*>(O_reride),
                       static_cast<QWidget*>(M_Reride), static_cast<QWidget*>(Other_Grid),
                       static_cast<QWidget*>(Make_comment)})
        layout->addWidget(w, 1, col++);

    FrozenSign = named<QLabel>(this, "FrozenSign", QStringLiteral("FROZEN"));
    IWSFlabel = named<QLabel>(this, "IWSFlabel");
    AWSAlabel = named<QLabel>(this, "AWSAlabel");
    AdjustmentLabel = named<QLabel>(this, "AdjustmentLabel");
    CrossLabel = named<QLabel>(this, "CrossLabel");
    maxbuoy = named<QLabel>(this, "maxbuoy");
    maxbuoym = named<QLabel>(this, "maxbuoym");
    minbuoy = named<QLabel>(this, "minbuoy");
    minbuoym = named<QLabel>(this, "minbuoym");
    col = 0;
    for (QLabel* l : {FrozenSign, IWSFlabel, AWSAlabel, AdjustmentLabel, CrossLabel, maxbuoy,
                      maxbuoym, minbuoy, minbuoym})
        layout->addWidget(l, 2, col++);
}

} // namespace zt
