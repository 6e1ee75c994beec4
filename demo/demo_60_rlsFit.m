% demo_60_rlsFit  Recursive least-squares fit of a noisy cubic, beside the
% host's polyfit, and the same estimation fed in two halves.
randn('seed', 60);
cubicX = linspace(-2, 2, 200);
trueCoef = [0.5 -1 -2 1];
cubicY = polyval(trueCoef, cubicX) + 0.2 * randn(size(cubicX));

clear rlsFit                      % start a fresh estimation
rlsCoef = rlsFit(cubicX, cubicY, 3);
hostCoef = polyfit(cubicX, cubicY, 3);
fprintf('true coefficients    %s\n', mat2str(trueCoef, 4));
fprintf('rlsFit               %s\n', mat2str(rlsCoef, 6));
fprintf('polyfit              %s\n', mat2str(hostCoef, 6));
fprintf('largest difference   %.2g\n', max(abs(rlsCoef - hostCoef)));

% The estimate carries over between calls: two halves give the same fit.
clear rlsFit
rlsFit(cubicX(1:100), cubicY(1:100), 3);
halvesCoef = rlsFit(cubicX(101:end), cubicY(101:end), 3);
fprintf('fed in two halves    %s (same bits as one call: %d)\n', mat2str(halvesCoef, 6), ...
       isequal(halvesCoef, rlsCoef));
clear rlsFit

% Figure: the fitted cubic through the noisy samples.
figure('Visible', 'off', 'Tag', 'clusterkitDemo', 'Name', 'rlsFit_cubic');
plot(cubicX, cubicY, '.', 'Color', [0.5 0.5 0.5]);
hold on;
plot(cubicX, polyval(rlsCoef, cubicX), 'r-', 'LineWidth', 2);
plot(cubicX, polyval(trueCoef, cubicX), 'b--');
hold off;
legend('noisy samples', 'rlsFit cubic', 'true cubic', 'Location', 'northeast');
title('rlsFit: recursive least-squares cubic through 200 noisy samples');
xlabel('x');
ylabel('y');
