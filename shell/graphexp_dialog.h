// GRAPHEXP: graphs one typed expression of x once; the graph goes at the next repaint.
#pragma once

class QDialog;
class QWidget;

QDialog* createGraphExpDialog(QWidget* owner);
void runGraphExpDialog(QWidget* owner);
