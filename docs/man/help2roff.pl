#!/usr/bin/perl
# Makes a manual page from a hand-written roff template and the program's own --help output, so that the
# options and commands in the page are always those of the program that is installed with it.
#   help2roff.pl PROGRAM NAME TEMPLATE OUTPUT [DATE]
# The template's line "@OPTIONS@" becomes the program's options, "@COMMANDS@" every command and
# sub-command with its own options (found by asking "PROGRAM CMD [SUB] --help"), "@VERSION@" the version
# that "PROGRAM --version" prints, "@DATE@" the DATE given. The help is read in the two-column form of
# CLI11 and of Qt's QCommandLineParser: section lines "Options:", "Positionals:", "Subcommands:" and entries indented by two
# spaces, their text after two or more spaces or on the lines below.
use strict;
use warnings;

my ($program, $name, $template, $output, $date) = @ARGV;
die "usage: help2roff.pl PROGRAM NAME TEMPLATE OUTPUT [DATE]\n" unless defined $output;
$date //= '';

# The help of the program or of one of its commands, parsed into a description, a usage line and sections.
sub help_of {
    my @words = @_;
    open(my $fh, '-|', $program, @words, '--help') or die "help2roff: cannot run $program: $!\n";
    my @lines = <$fh>;
    close($fh);
    die "help2roff: '$program @words --help' failed\n" if $? != 0;
    my %help = (description => [], usage => '', sections => []);
    my $section;
    for my $line (@lines) {
        chomp $line;
        $line =~ s/\s+$//;
        if ($line =~ /^Usage:\s+\S+\s*(.*)$/) {
            $help{usage} = $1;
        } elsif ($line =~ /^(\w[\w ]*):$/) {
            $section = { title => $1, entries => [] };
            push @{ $help{sections} }, $section;
        } elsif (defined $section && $line =~ /^  (\S.*?)(?:\s{2,}(\S.*))?$/ && $line !~ /^ {8}/) {
            push @{ $section->{entries} }, { term => $1, text => defined $2 ? $2 : '' };
        } elsif (defined $section && $line =~ /^\s+(\S.*)$/ && @{ $section->{entries} }) {
            my $entry = $section->{entries}[-1];
            $entry->{text} = $entry->{text} eq '' ? $1 : "$entry->{text} $1";
        } elsif (!defined $section && $line ne '') {
            push @{ $help{description} }, $line; # CLI11 prints it before the usage line, Qt after
        }
    }
    return \%help;
}

# Text for roff: backslashes escaped, no line starting with a control character.
sub roff_text {
    my ($text) = @_;
    $text =~ s/\\/\\e/g;
    $text =~ s/^([.'])/\\&$1/;
    return $text;
}

# An option's names in bold (with minus signs that stay minus signs), the rest of its term in italics.
sub roff_term {
    my ($term) = @_;
    my ($names, $rest) = $term =~ /^(-\S*(?:, -\S+)*)\s*(.*)$/ ? ($1, $2) : ('', $term);
    $rest =~ s/\b(\w+):\1 in \[(\S+) - (\S+)\]/$1 $2..$3/g; # CLI11's "INT:INT in [0 - 252]"
    my $out = '';
    if ($names ne '') {
        (my $bold = roff_text($names)) =~ s/-/\\-/g;
        $out = "\\fB$bold\\fR";
    }
    if ($rest ne '') {
        $out .= ' ' if $out ne '';
        $out .= '\\fI' . roff_text($rest) . '\\fR';
    }
    return $out;
}

# The entries of every section but "Subcommands", leaving out the help options every command has.
sub roff_entries {
    my ($help) = @_;
    my $out = '';
    for my $section (@{ $help->{sections} }) {
        next if $section->{title} eq 'Subcommands';
        for my $entry (@{ $section->{entries} }) {
            next if $entry->{term} =~ /^-h,\s?--help$|^--help-all$/;
            # The --yes that every command accepts for scripts is described once, in the template.
            next if $entry->{term} eq '--yes' && $entry->{text} =~ /^Accepted for scripts/;
            $out .= ".TP\n" . roff_term($entry->{term}) . "\n" . roff_text($entry->{text}) . "\n";
        }
    }
    return $out;
}

sub subcommands {
    my ($help) = @_;
    my @names;
    for my $section (@{ $help->{sections} }) {
        push @names, map { $_->{term} } @{ $section->{entries} } if $section->{title} eq 'Subcommands';
    }
    return @names;
}

my $options_count = 0;
my $commands_count = 0;
my $saw_options = 0;

sub roff_commands {
    my @path = @_;
    my $out = '';
    for my $command (subcommands(help_of(@path))) {
        my @words = (@path, $command);
        my $help = help_of(@words);
        ++$commands_count;
        $out .= ".SS \"" . roff_text("@words") . "\"\n";
        (my $usage = $help->{usage}) =~ s/\[OPTIONS\]\s*//;
        $out .= ".B $name\n.RI [ global\\ options ]\n.B " . roff_text("@words") . "\n";
        my @rest = grep { $_ ne '' } split /\s+/, substr($usage, length("@words"));
        $out .= ".RI \"" . roff_text("@rest") . "\"\n" if @rest && "@rest" ne 'SUBCOMMAND';
        $out .= ".br\n" . roff_text(join(' ', @{ $help->{description} })) . "\n";
        $out .= roff_entries($help);
        $out .= roff_commands(@words);
    }
    return $out;
}

open(my $version_fh, '-|', $program, '--version') or die "help2roff: cannot run $program: $!\n";
my $version = <$version_fh> // '';
close($version_fh);
die "help2roff: '$program --version' failed\n" if $? != 0 || $version !~ /(\d+\.\d+\.\d+)/;
$version = $1;

open(my $in, '<', $template) or die "help2roff: cannot read $template: $!\n";
my $page = '';
while (my $line = <$in>) {
    if ($line eq "\@OPTIONS\@\n") {
        $saw_options = 1;
        my $entries = roff_entries(help_of());
        $options_count = () = $entries =~ /^\.TP$/mg;
        $page .= $entries;
    } elsif ($line eq "\@COMMANDS\@\n") {
        $page .= roff_commands();
        die "help2roff: $program lists no commands\n" if $commands_count == 0;
    } else {
        $line =~ s/\@VERSION\@/$version/g;
        $line =~ s/\@DATE\@/$date/g;
        $page .= $line;
    }
}
close($in);
die "help2roff: no options found in the help of $program\n" if $saw_options && $options_count == 0;

open(my $out, '>', "$output.tmp") or die "help2roff: cannot write $output: $!\n";
print $out $page;
close($out) or die "help2roff: cannot write $output: $!\n";
rename("$output.tmp", $output) or die "help2roff: cannot write $output: $!\n";
