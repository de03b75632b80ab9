#pragma once
// The thirteen topics of the course: start-page caption, link position and
// the page each one opens.

#include <QList>
#include <QString>

namespace tav {

class Form;

struct Topic {
    int number;      // 1..13
    QString caption; // on the start page
    QString window;  // the page's window name
    int left;        // twips, the start-page link
    int top;
};

const QList<Topic>& topics();
// The page of topic 1..13 (its global reference; created on first use).
Form& topicForm(int number);
// Any window of the program by its name; an unknown name raises a run-time
// error.
Form& windowNamed(const QString& name);

} // namespace tav
