// Greedy set cover over the labels of a column-major set matrix.
#ifndef CLUSTERKIT_SET_COVER_H
#define CLUSTERKIT_SET_COVER_H

/// Greedy cover of the labels 1 .. L, L being the largest value of the set
/// matrix (setCount rows, slotCount columns, column-major; each row lists one
/// set's labels in any order, 0 for an empty slot). Each row is first
/// rewritten in place as its distinct labels in ascending order followed by
/// zeros. Round r then takes the set that adds the most labels not yet
/// covered (the lowest row on ties) into chosenSet[r] and stores the covered
/// share of L in coveredFraction[r]. The rounds end when a round adds
/// nothing (it is not counted), every label is covered, or maxRounds rounds
/// were made. Both outputs hold maxRounds entries, set to 0 and 1 first.
/// Returns the number of rounds counted. A label that is negative, not finite
/// or beyond the int range fails through myExit before anything is written.
int setCover(double *setMatrix, int setCount, int slotCount, int maxRounds, int *chosenSet,
             double *coveredFraction);

#endif // CLUSTERKIT_SET_COVER_H
