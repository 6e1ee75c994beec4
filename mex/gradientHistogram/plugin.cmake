# gradientHistogram declares no host interface version, in either flavour.
clusterkit_default_plugin(${name} ${flavor} "${dir}" NO_API_VERSION)
